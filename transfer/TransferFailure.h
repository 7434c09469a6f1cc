#pragma once

#include <curl/curl.h>

#include <string>

// How one libcurl transfer ended, and what that means for the user: a message in plain words,
// and whether sending again may succeed (a connection that broke off) or cannot (a refused login).
struct TransferFailure {
    CURLcode code = CURLE_OK;
    long response = 0;  // the server's last reply code (FTP, HTTP), 0 when none
    std::string detail; // libcurl's own words, when it gave some

    bool ok() const { return code == CURLE_OK && (response < 300 || !isHttpAnswer); }
    bool isHttpAnswer = false; // response is an HTTP status

    bool canResume() const;
    // `where` is the address as shown to the user, `file` the file being sent or asked for.
    std::string message(const std::string& where, const std::string& file) const;

private:
    std::string httpMessage(const std::string& where, const std::string& file) const;
    std::string withDetail(std::string text) const;
};
