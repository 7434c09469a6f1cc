#pragma once

#include "support/ScriptServer.h"

#include <string>

// misbehaving_http_server.py on 127.0.0.1, serving one file in one of its modes ("plain", "stall",
// "endless-headers", "silence", "early-close", "reset", "icy", "not-found", "redirect-loop"; the
// script describes them). The server ends with the object, or with the test process.
class MisbehavingHttpServer {
public:
    MisbehavingHttpServer(const std::string& mode, const std::string& file);

    std::string url(const std::string& path = "/stream.mp3") const;

private:
    ScriptServer server_;
};
