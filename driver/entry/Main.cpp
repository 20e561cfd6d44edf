#include <string>
#include <vector>

#include "driver/run/RunMain.h"
#include "platform/Process.h"
#include "platform/StopRequest.h"

int main(int argc, char** argv) {
    platform::PrepareProcessSignals();
    const std::vector<std::u16string> arguments = platform::WideArguments(argc, argv);
    std::vector<const char16_t*> vector;
    for (const auto& argument : arguments) vector.push_back(argument.c_str());
    vector.push_back(nullptr);
    return driver::RunMain(argc, vector.data());
}
