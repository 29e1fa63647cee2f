#include "fuzz/ScratchFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class ScratchFile {
public:
    ScratchFile() {
        struct stat info {};
        const std::string folder = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
        m_path = folder + "/tavlin-fuzz-XXXXXX";
        m_fd = mkstemp(m_path.data());
        if (m_fd < 0) Fail("cannot create");
    }
    ~ScratchFile() {
        close(m_fd);
        unlink(m_path.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const char* Write(const std::uint8_t* data, std::size_t size) {
        if (ftruncate(m_fd, 0) != 0) Fail("cannot empty");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) Fail("cannot write");
            done += static_cast<std::size_t>(n);
        }
        return m_path.c_str();
    }

private:
    [[noreturn]] void Fail(const char* what) {
        std::fprintf(stderr, "%s scratch file %s\n", what, m_path.c_str());
        std::abort();
    }

    std::string m_path;
    int m_fd = -1;
};

}  // namespace

const char* WriteScratchFile(const std::uint8_t* data, std::size_t size) {
    static ScratchFile file;
    return file.Write(data, size);
}
