/* The floor of "pelk -c": the file system work it cannot do without.
 *
 *     floor DIR COUNT BYTES [THREAD OUTPUT]
 *
 * creates COUNT files in DIR (floor-1.txt, floor-2.txt, ...), one after the
 * other, each written with its share of BYTES (the sizes differ by one byte
 * at most), closed, opened again and read back to its end, as "-c" does with
 * every expansion file. Given THREAD and OUTPUT, it also reads the file
 * THREAD to its end, 64 KiB at a time, and writes OUTPUT bytes to
 * DIR/floor-output.txt, 1 MiB at a time, both keeping pace with the files,
 * as "-c" reads its thread and writes its output while it expands. Prints
 * the count and the bytes read back. The files are left in DIR: the caller
 * removes them.
 */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kThreadBlock = 1 << 16, kOutputBlock = 1 << 20 };

static int fail(const char* what, const char* name) {
  fprintf(stderr, "floor: %s %s: %s\n", what, name, strerror(errno));
  return 1;
}

/* The thread and the output of "-c", advanced to `part` of their sizes. */
struct Stream {
  int in, out;
  long long threadSize, threadRead, output, written;
  char* block;
};

static int keepingPace(struct Stream* s, double part) {
  const long long threadDue = (long long)(s->threadSize * part);
  while (s->threadRead < threadDue) {
    const ssize_t n = read(s->in, s->block, kThreadBlock);
    if (n < 0) return -1;
    if (n == 0) break;
    s->threadRead += n;
  }
  /* Whole blocks, as they fill; the rest at the end. */
  const long long outputDue = part >= 1.0 ? s->output : (long long)(s->output * part);
  while (s->written < outputDue && (outputDue - s->written >= kOutputBlock || part >= 1.0)) {
    const long long left = outputDue - s->written;
    const size_t size = left < kOutputBlock ? (size_t)left : kOutputBlock;
    const ssize_t n = write(s->out, s->block, size);
    if (n < 0) return -1;
    s->written += n;
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 4 && argc != 6) {
    fprintf(stderr, "usage: floor DIR COUNT BYTES [THREAD OUTPUT]\n");
    return 2;
  }
  const char* dir = argv[1];
  const long count = atol(argv[2]);
  const long long bytes = atoll(argv[3]);
  const char* thread = argc == 6 ? argv[4] : NULL;
  struct Stream stream = {-1, -1, 0, 0, argc == 6 ? atoll(argv[5]) : 0, 0, NULL};
  if (count < 0 || bytes < 0 || stream.output < 0) {
    fprintf(stderr, "floor: COUNT, BYTES and OUTPUT are not negative\n");
    return 2;
  }
  const long long share = count > 0 ? bytes / count : 0;
  const long long rest = count > 0 ? bytes % count : 0;
  const size_t largest = (size_t)share + 1;
  /* Text like an expansion file's: combinations of six numbers, one a line. */
  static const char kLine[] = "01 05 09 14 22 31 \n";
  char* text = malloc(largest);
  char* back = malloc(largest + 1);
  stream.block = malloc(kOutputBlock);
  if (!text || !back || !stream.block) {
    fprintf(stderr, "floor: out of memory\n");
    return 1;
  }
  for (size_t i = 0; i < largest; ++i) text[i] = kLine[i % (sizeof kLine - 1)];
  for (size_t i = 0; i < kOutputBlock; ++i) stream.block[i] = kLine[i % (sizeof kLine - 1)];
  char outName[4096];
  if (thread) {
    stream.in = open(thread, O_RDONLY);
    struct stat status;
    if (stream.in < 0 || fstat(stream.in, &status) != 0) return fail("cannot open", thread);
    stream.threadSize = status.st_size;
    snprintf(outName, sizeof outName, "%s/floor-output.txt", dir);
    stream.out = open(outName, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (stream.out < 0) return fail("cannot create", outName);
  }
  long long readBack = 0;
  char name[4096];
  for (long i = 1; i <= count; ++i) {
    if (thread && keepingPace(&stream, (double)(i - 1) / count) != 0)
      return fail("cannot read or write beside", thread);
    const size_t size = (size_t)share + (i <= rest ? 1 : 0);
    snprintf(name, sizeof name, "%s/floor-%ld.txt", dir, i);
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return fail("cannot create", name);
    for (size_t done = 0; done < size;) {
      ssize_t n = write(fd, text + done, size - done);
      if (n < 0) return fail("cannot write", name);
      done += (size_t)n;
    }
    if (close(fd) != 0) return fail("cannot close", name);
    fd = open(name, O_RDONLY);
    if (fd < 0) return fail("cannot open", name);
    ssize_t n;
    while ((n = read(fd, back, largest + 1)) > 0) readBack += n;
    if (n < 0) return fail("cannot read", name);
    close(fd);
  }
  if (thread) {
    if (keepingPace(&stream, 1.0) != 0) return fail("cannot read or write beside", thread);
    close(stream.in);
    if (close(stream.out) != 0) return fail("cannot close", outName);
  }
  printf("%ld files, %lld bytes", count, readBack);
  if (thread)
    printf("; %lld bytes of the thread read, %lld written", stream.threadRead, stream.written);
  printf("\n");
  free(text);
  free(back);
  free(stream.block);
  return readBack == bytes && stream.written == stream.output ? 0 : 1;
}
