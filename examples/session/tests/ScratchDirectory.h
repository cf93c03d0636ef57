#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace VoTest {

// A fresh directory under /tmp for a test's files; removed, with what it holds, when it goes.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char pattern[] = "/tmp/vo-session-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::filesystem::filesystem_error("cannot make a scratch directory",
                                                    std::make_error_code(std::errc::io_error));
        }
        directory = pattern;
    }
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    const std::string &path() const noexcept { return directory; }
    std::string path(const std::string &name) const { return directory + "/" + name; }
    std::string contents(const std::string &name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string &name, const std::string &bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

private:
    std::string directory;
};

} // namespace VoTest
