#include "platform/TemporaryFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform {

std::FILE* OpenAnonymousTempFile() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
    pattern += "/dxlexporter-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return nullptr;
    ::unlink(pattern.c_str());
    std::FILE* file = ::fdopen(fd, "w+b");
    if (file == nullptr) ::close(fd);
    return file;
}

}  // namespace platform
#endif
