#include "platform/ExecutableMachine.h"

#include <cstdint>
#include <optional>

namespace platform {
namespace {

struct Machine {
    char format;           // 'E' ELF, 'P' PE
    std::uint32_t type;    // e_machine, or the PE file header's Machine
    unsigned bits;         // ELF: the file class; PE: from the machine type
    bool operator==(const Machine&) const = default;
};

constexpr std::optional<Machine> kProgramMachine =
#if defined(_WIN32) && (defined(__x86_64__) || defined(_M_X64))
    Machine{'P', 0x8664, 64};
#elif defined(_WIN32) && (defined(__aarch64__) || defined(_M_ARM64))
    Machine{'P', 0xAA64, 64};
#elif defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
    Machine{'P', 0x014C, 32};
#elif defined(__x86_64__) && defined(__ILP32__)
    Machine{'E', 62, 32};
#elif defined(__x86_64__)
    Machine{'E', 62, 64};
#elif defined(__i386__)
    Machine{'E', 3, 32};
#elif defined(__aarch64__)
    Machine{'E', 183, 64};
#elif defined(__arm__)
    Machine{'E', 40, 32};
#elif defined(__powerpc64__)
    Machine{'E', 21, 64};
#elif defined(__s390x__)
    Machine{'E', 22, 64};
#else
    std::nullopt;
#endif

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<Machine> ElfMachine(std::string_view head) {
    constexpr std::size_t kClass = 4, kData = 5, kMachine = 18;
    if (head.size() < kMachine + 2 || head.substr(0, 4) != "\x7F" "ELF") return std::nullopt;
    const unsigned bits = head[kClass] == 1 ? 32 : head[kClass] == 2 ? 64 : 0;
    if (bits == 0) return std::nullopt;
    const auto low = static_cast<unsigned char>(head[kMachine]);
    const auto high = static_cast<unsigned char>(head[kMachine + 1]);
    const std::uint32_t type = head[kData] == 2 ? (low << 8 | high) : (high << 8 | low);
    return Machine{'E', type, bits};
}

std::optional<Machine> PeMachine(std::string_view head) {
    constexpr std::size_t kNewHeaderOffset = 0x3C;
    if (head.size() < kNewHeaderOffset + 4 || head.substr(0, 2) != "MZ") return std::nullopt;
    const std::size_t at = Little(head, kNewHeaderOffset, 4);
    if (at > head.size() - 6 || head.substr(at, 4) != std::string_view("PE\0\0", 4)) {
        return std::nullopt;
    }
    const std::uint32_t type = Little(head, at + 4, 2);
    const bool wide = type == 0x8664 || type == 0xAA64 || type == 0x0200;
    return Machine{'P', type, wide ? 64u : 32u};
}

std::string Describe(const Machine& machine) {
    struct Name {
        char format;
        std::uint32_t type;
        const char* name;
    };
    static constexpr Name kNames[] = {
        {'E', 3, "x86"},         {'E', 62, "x86-64"},    {'E', 40, "ARM"},
        {'E', 183, "ARM64"},     {'E', 20, "PowerPC"},   {'E', 21, "PowerPC64"},
        {'E', 22, "IBM Z"},      {'E', 243, "RISC-V"},   {'E', 8, "MIPS"},
        {'E', 2, "SPARC"},       {'E', 43, "SPARC V9"},  {'P', 0x014C, "x86"},
        {'P', 0x8664, "x86-64"}, {'P', 0xAA64, "ARM64"}, {'P', 0x01C4, "ARM"},
    };
    std::string name = "machine type " + std::to_string(machine.type);
    for (const Name& known : kNames) {
        if (known.format == machine.format && known.type == machine.type) name = known.name;
    }
    return name + " " + std::to_string(machine.bits) + "-bit";
}

}  // namespace

std::string ForeignMachineNote(std::string_view head) {
    if (!kProgramMachine) return {};
    std::optional<Machine> file = ElfMachine(head);
    if (!file) file = PeMachine(head);
    if (!file || *file == *kProgramMachine) return {};
    if (file->format != kProgramMachine->format) {
        return std::string("the file is ") + (file->format == 'E' ? "an ELF" : "a Windows") +
               " library for " + Describe(*file);
    }
    return "the file is built for " + Describe(*file) + ", this program for " +
           Describe(*kProgramMachine);
}

}  // namespace platform
