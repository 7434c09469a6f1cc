#pragma once

#include <optional>
#include <string>

// Upload passwords in the desktop's secret store (the Secret Service: GNOME Keyring, KWallet),
// through libsecret, filed under the server's address and the user name. Never in the settings
// file. Without a session bus or a secret service every call says so and nothing is kept.
class PasswordKeeper {
public:
    // Empty when a secret store can be asked; else why not, for the user.
    static std::string unavailableReason();
    // The password kept for server and user; empty when none is kept or the store does not answer.
    static std::optional<std::string> lookup(const std::string& server, const std::string& user);
    // False, with problem set, when the store did not keep it.
    static bool store(const std::string& server, const std::string& user, const std::string& password,
                      std::string& problem);
    static void forget(const std::string& server, const std::string& user);
};
