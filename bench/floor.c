/* The floor of "pelk -c": the file system work of its expansion files alone.
 *
 *     floor DIR COUNT BYTES
 *
 * creates COUNT files in DIR (floor-1.txt, floor-2.txt, ...), one after the
 * other, each written with its share of BYTES (the sizes differ by one byte
 * at most), closed, opened again and read back to its end, as "-c" does with
 * every expansion file. Prints the count and the bytes read back. The files
 * are left in DIR: the caller removes them.
 */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int fail(const char* what, const char* name) {
  fprintf(stderr, "floor: %s %s: %s\n", what, name, strerror(errno));
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: floor DIR COUNT BYTES\n");
    return 2;
  }
  const char* dir = argv[1];
  const long count = atol(argv[2]);
  const long long bytes = atoll(argv[3]);
  if (count < 0 || bytes < 0) {
    fprintf(stderr, "floor: COUNT and BYTES are not negative\n");
    return 2;
  }
  const long long share = count > 0 ? bytes / count : 0;
  const long long rest = count > 0 ? bytes % count : 0;
  const size_t largest = (size_t)share + 1;
  /* Text like an expansion file's: combinations of six numbers, one a line. */
  char* text = malloc(largest);
  char* back = malloc(largest + 1);
  if (!text || !back) {
    fprintf(stderr, "floor: out of memory\n");
    return 1;
  }
  static const char kLine[] = "01 05 09 14 22 31 \n";
  for (size_t i = 0; i < largest; ++i) text[i] = kLine[i % (sizeof kLine - 1)];
  long long readBack = 0;
  char name[4096];
  for (long i = 1; i <= count; ++i) {
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
  printf("%ld files, %lld bytes\n", count, readBack);
  free(text);
  free(back);
  return readBack == bytes ? 0 : 1;
}
