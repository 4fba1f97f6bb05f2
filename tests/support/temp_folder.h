#pragma once
// A fresh folder per test under the build tree, removed afterwards.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "t";
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::path(LEXILARK_TEST_TMP) / (name + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    static std::string ReadBytes(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream out(p, std::ios::binary);
        out << bytes;
    }

private:
    std::filesystem::path path_;
};
