// Shared helpers of the rig tests: a scratch folder per test, and rigs
// written into it.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "sim/rig/Rig.h"

namespace kv::sim::test {

class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("kvsim-") + (info ? info->name() : "test") + "-" +
                                 std::to_string(reinterpret_cast<std::uintptr_t>(this) & 0xFFFFFF) + "-" +
                                 std::to_string(counter++);
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path Write(const std::string& name, const std::string& text) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline std::unique_ptr<Rig> LoadRig(const std::filesystem::path& file) {
    std::string error;
    auto rig = Rig::Load(file, error);
    EXPECT_TRUE(rig) << error;
    return rig;
}

inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kv::sim::test
