#include "common/result.h"

#include <gtest/gtest.h>

#include <memory>

namespace marvoxa {
namespace {

TEST(Result, HoldsEitherTheValueOrTheErrorWithItsMessage) {
    const Result<int> value = 42;
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value.value(), 42);

    const Result<int> failure = Error{ErrorKind::Io, QStringLiteral("File not found")};
    ASSERT_FALSE(failure.ok());
    EXPECT_EQ(failure.error().kind, ErrorKind::Io);
    EXPECT_EQ(failure.error().message, QStringLiteral("File not found"));
}

TEST(Result, MovesMoveOnlyValuesOut) {
    Result<std::unique_ptr<int>> result = std::make_unique<int>(7);
    std::unique_ptr<int> taken = std::move(result).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 7);
}

}  // namespace
}  // namespace marvoxa
