#pragma once

#include "support/ScriptServer.h"

#include <string>
#include <vector>

// set_server.py on 127.0.0.1, serving a folder over http or ftp (the script describes its
// options). The server ends with the object, or with the test process. When the server cannot run
// here (a missing package), skipReason() says why and nothing listens.
class SetServer {
public:
    SetServer(const std::string& kind, const std::string& folder, const std::vector<std::string>& options = {});

    const std::string& skipReason() const { return server_.skipReason(); }
    // The address of a file in the served folder: "http://127.0.0.1:PORT/name".
    std::string url(const std::string& name) const;

private:
    std::string kind_;
    ScriptServer server_;
};
