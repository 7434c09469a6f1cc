#pragma once

class CommandLine;

// quarvel-cli join with a web address: the set is fetched and joined straight from the server.
class WebJoinCommand {
public:
    // The join command's line, already parsed, whose part is an http(s):// or ftp:// address.
    static int run(const CommandLine& line);
};
