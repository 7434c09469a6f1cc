#include "transfer/TransferFailure.h"

#include "platform/xaudio/CurlLibrary.h"

namespace {

// FTP replies and HTTP statuses that say the server has no room left.
bool diskFull(long response, bool http) {
    return http ? response == 507 : (response == 452 || response == 552);
}

} // namespace

bool TransferFailure::canResume() const {
    if (diskFull(response, isHttpAnswer) || code == CURLE_REMOTE_DISK_FULL) return false;
    if (isHttpAnswer && code == CURLE_OK) return response == 502 || response == 503 || response == 504;
    switch (code) {
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSH:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return true;
    case CURLE_UPLOAD_FAILED:
        // "data connection closed", "transfer aborted", "service closing", "local error"
        return response == 421 || response == 425 || response == 426 || response == 451;
    default:
        return false;
    }
}

std::string TransferFailure::withDetail(std::string text) const {
    if (!detail.empty()) text += " (" + detail + ")";
    return text;
}

std::string TransferFailure::httpMessage(const std::string& where, const std::string& file) const {
    const std::string status = "HTTP " + std::to_string(response);
    if (response == 401) return "The server at " + where + " refused the login: check the user name and password";
    if (response == 403) return "The server at " + where + " does not allow storing " + file + " (" + status + ")";
    if (response == 404 || response == 409)
        return "The remote folder of " + where + " does not exist, " + file + " could not be stored (" + status + ")";
    if (response == 405) return "The server at " + where + " does not take uploads by PUT (" + status + ")";
    if (response == 413) return "The server at " + where + " refused " + file + " as too large (" + status + ")";
    if (diskFull(response, true)) return "The server's disk is full: " + file + " could not be stored (" + status + ")";
    return "The server at " + where + " did not store " + file + " (" + status + ")";
}

std::string TransferFailure::message(const std::string& where, const std::string& file) const {
    if (isHttpAnswer && code == CURLE_OK) return httpMessage(where, file);
    if (diskFull(response, isHttpAnswer) || code == CURLE_REMOTE_DISK_FULL)
        return "The server's disk is full: " + file + " could not be stored";
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return withDetail("Not an upload address: " + where);
    case CURLE_COULDNT_RESOLVE_HOST:
        return withDetail("Server not found: " + where);
    case CURLE_COULDNT_CONNECT:
        return withDetail("Can't connect to " + where + ": the server does not answer");
    case CURLE_OPERATION_TIMEDOUT:
        return withDetail("The server at " + where + " stopped answering while " + file + " was sent");
    case CURLE_LOGIN_DENIED:
        return withDetail("The server at " + where + " refused the login: check the user name and password");
    case CURLE_REMOTE_ACCESS_DENIED:
        return withDetail("The server at " + where + " refused access for " + file);
    case CURLE_UPLOAD_FAILED:
        return withDetail("The server at " + where + " refused to store " + file);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
        return withDetail("The connection to " + where + " was lost while " + file + " was sent");
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CERTPROBLEM:
        return withDetail("No secure connection to " + where);
    case CURLE_READ_ERROR:
        return withDetail("The local file " + file + " could not be read");
    default:
        return withDetail("Sending " + file + " to " + where + " failed: " + CurlLibrary::require().easyStrerror(code));
    }
}
