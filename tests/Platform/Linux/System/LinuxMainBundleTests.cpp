#include "Platform/Linux/LinuxMainBundle.hpp"

#include <filesystem>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LinuxMainBundle, DescribesTheRunningExecutable) {
    const LinuxMainBundle bundle;
    const auto executable = std::filesystem::canonical("/proc/self/exe");

    EXPECT_EQ(bundle.bundleIdentifier(), "com.tovren.velmora");
    EXPECT_EQ(bundle.executablePath(), executable.string());
    EXPECT_EQ(bundle.bundlePath(), executable.parent_path().string());
}

} // namespace
} // namespace velmora
