#include "PostAssembler.hpp"

#include <gtest/gtest.h>

namespace {

TEST(PostAssembler, GroupsAreListedUnderTheirHeader) {
  PostAssembler posts;
  posts.clear("");
  posts.add("x");
  posts.listing();
  EXPECT_EQ(posts.output(), "\nx\n");
  posts.clear("H");
  posts.add("y");
  posts.listing("T");
  EXPECT_EQ(posts.output(), "\nx\nH\ny\nT");
}

}  // namespace
