#pragma once

#include <string>

// Where an engine writes its progress and failure texts: pane 0 of a form's status bar,
// standard error in quarvel-cli. Texts are UTF-8 and may hold "\r\n" and "\t".
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void setStatus(const std::string& text) = 0;
};
