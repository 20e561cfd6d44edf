#include "driver/run/CommandLine.h"

#include <array>

namespace driver {
namespace {

bool SameOption(std::u16string_view argument, std::u16string_view option) {
    if (argument.size() != option.size()) return false;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        char16_t c = argument[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != option[i]) return false;
    }
    return true;
}

struct ValueOption {
    std::u16string_view name;  // lowercase
    std::u16string RunSettings::*field;
};

constexpr std::array<ValueOption, 7> kValueOptions = {{
    {u"-s", &RunSettings::server},
    {u"-p", &RunSettings::databasePath},
    {u"-o", &RunSettings::outputDir},
    {u"-start", &RunSettings::startTime},
    {u"-id", &RunSettings::idFile},
    {u"-password", &RunSettings::password},
    {u"-rowlimit", &RunSettings::rowLimit},
}};

struct ModeOption {
    std::u16string_view name;
    bool RunMode::*mark;
};

constexpr std::array<ModeOption, 5> kModeOptions = {{
    {u"-servers", &RunMode::servers},
    {u"-catalog", &RunMode::catalog},
    {u"-logscan", &RunMode::logscan},
    {u"-brenvik", &RunMode::brenvik},
    {u"-nab", &RunMode::nab},
}};

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char16_t* const* argv, RunSettings& settings) {
    ParsedCommandLine parsed;
    bool versionRequested = false;
    for (int i = 1; i < argc; ++i) {
        const std::u16string_view argument = argv[i];
        if (!argument.empty() && argument[0] == u'=') continue;

        bool matched = false;
        for (const ValueOption& option : kValueOptions) {
            if (i + 1 < argc && SameOption(argument, option.name)) {
                settings.*option.field = argv[++i];
                if (option.field == &RunSettings::password) parsed.passwordValues.push_back(i);
                matched = true;
                break;
            }
        }
        for (const ModeOption& option : kModeOptions) {
            if (!matched && SameOption(argument, option.name)) {
                parsed.mode.*option.mark = true;
                matched = true;
            }
        }
        if (matched) continue;

        if (SameOption(argument, u"-h") || SameOption(argument, u"-?")) {
            parsed.outcome = ParseOutcome::help;
            return parsed;
        }
        if (SameOption(argument, u"-v") || SameOption(argument, u"-version")) {
            versionRequested = true;
        } else if (SameOption(argument, u"-debug")) {
            settings.logThreshold = 0;
        } else {
            parsed.outcome = ParseOutcome::invalid;
            parsed.invalidArgument = argument;
            return parsed;
        }
    }
    if (versionRequested) parsed.outcome = ParseOutcome::version;
    return parsed;
}

}  // namespace driver
