#include "Support/Lifetime.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace velmora {
namespace {

struct Owner {
    int calls = 0;
    int add(int amount) { return calls += amount; }
};

TEST(Lifetime, WorkForAnOwnerThatHasGoneDoesNothing) {
    auto owner = std::make_shared<Owner>();
    const std::function<int(int)> add = ifAlive(std::weak_ptr(owner), &Owner::add);
    EXPECT_EQ(add(2), 2);
    owner.reset();
    EXPECT_EQ(add(5), 0);

    int calls = 0;
    std::function<void()> late;
    {
        LifetimeToken token;
        late = token.guard([&calls] { ++calls; });
        const auto watch = token.watch();
        late();
        EXPECT_FALSE(watch.ended());
        token.end();
        EXPECT_TRUE(watch.ended());
    }
    late();
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace velmora
