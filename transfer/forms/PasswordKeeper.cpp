#include "transfer/forms/PasswordKeeper.h"

#include <cstdlib>

#ifdef QUARVEL_HAVE_LIBSECRET
#include <libsecret/secret.h>

namespace {

const SecretSchema* schema() {
    static const SecretSchema upload = {
        "io.github.quarvel.Upload",
        SECRET_SCHEMA_NONE,
        {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &upload;
}

// The message of a libsecret error, which is freed here.
std::string takeMessage(GError* error) {
    std::string message = error && error->message ? error->message : "the secret store did not answer";
    if (error) g_error_free(error);
    return message;
}

} // namespace

std::string PasswordKeeper::unavailableReason() {
    // Without a session bus GLib would try to start one: a stray daemon per call, or an error.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus) return "no secret store is running (no session bus)";
    return {};
}

std::optional<std::string> PasswordKeeper::lookup(const std::string& server, const std::string& user) {
    if (!unavailableReason().empty()) return std::nullopt;
    GError* error = nullptr;
    gchar* password = secret_password_lookup_sync(schema(), nullptr, &error, "server", server.c_str(), "user",
                                                  user.c_str(), nullptr);
    if (error) g_error_free(error);
    if (!password) return std::nullopt;
    std::string result(password);
    secret_password_free(password);
    return result;
}

bool PasswordKeeper::store(const std::string& server, const std::string& user, const std::string& password,
                           std::string& problem) {
    problem = unavailableReason();
    if (!problem.empty()) return false;
    GError* error = nullptr;
    const std::string label = "Quarvel upload: " + user + " at " + server;
    if (secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr,
                                   &error, "server", server.c_str(), "user", user.c_str(), nullptr))
        return true;
    problem = takeMessage(error);
    return false;
}

void PasswordKeeper::forget(const std::string& server, const std::string& user) {
    if (!unavailableReason().empty()) return;
    GError* error = nullptr;
    secret_password_clear_sync(schema(), nullptr, &error, "server", server.c_str(), "user", user.c_str(), nullptr);
    if (error) g_error_free(error);
}

#else

std::string PasswordKeeper::unavailableReason() { return "this build of the program keeps no passwords (no libsecret)"; }
std::optional<std::string> PasswordKeeper::lookup(const std::string&, const std::string&) { return std::nullopt; }
bool PasswordKeeper::store(const std::string&, const std::string&, const std::string&, std::string& problem) {
    problem = unavailableReason();
    return false;
}
void PasswordKeeper::forget(const std::string&, const std::string&) {}

#endif
