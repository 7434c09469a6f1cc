#include "cli/DevicesCommand.h"

#include "cli/CommandLine.h"
#include "platform/xaudio/OutputDevices.h"

#include <cstdio>

const char* DevicesCommand::usage() {
    return "usage: quarvel-cli devices\n"
           "\n"
           "Lists the sound devices by number, as 'quarvel-cli play --device N' and the Player's\n"
           "\"Sound Device Select\" box number them.\n";
}

int DevicesCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {});
    if (const auto exitCode = line.start(arguments, usage(), 0)) return *exitCode;
    const std::vector<OutputDevice> devices = OutputDevices::list();
    for (std::size_t i = 0; i < devices.size(); ++i) std::printf("%zu  %s\n", i, devices[i].description.c_str());
    return 0;
}
