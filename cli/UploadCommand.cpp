#include "cli/UploadCommand.h"

#include "base/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "transfer/UploadAddress.h"
#include "transfer/UploadSet.h"
#include "transfer/Uploader.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

namespace {

// The engine's events on the console: steps and failures on standard error, the set's progress
// as the usual progress line.
class ConsoleUploadListener : public UploadListener {
public:
    explicit ConsoleUploadListener(ConsoleReporter& reporter) : reporter_(reporter) {}
    void progress(const UploadProgress& progress) override {
        reporter_.progress({progress.file, progress.fileCount, progress.setDone, progress.setSize});
    }
    void status(const std::string& text) override { reporter_.setStatus(text); }
    void failed(const std::string& message) override { reporter_.error(message); }

private:
    ConsoleReporter& reporter_;
};

// The first line of a file ("-": standard input), without its line end. False with a message
// when it cannot be read.
bool readPassword(const std::string& path, std::string& password, ConsoleReporter& reporter) {
    if (path == "-") {
        std::getline(std::cin, password);
    } else {
        std::ifstream file(path);
        if (!file) {
            reporter.error("can't read the password file " + path);
            return false;
        }
        std::getline(file, password);
    }
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return true;
}

} // namespace

const char* UploadCommand::usage() {
    return "usage: quarvel-cli upload PART URL [--user USER] [--password-file FILE] [--identity FILE]\n"
           "                          [--cacert FILE]\n"
           "\n"
           "Uploads the set that PART belongs to, every part and its download page, to the folder\n"
           "URL names (created when missing), one file at a time. A connection that breaks off is\n"
           "resumed; at the end the size of every file on the server is checked. Prints the address\n"
           "of every file uploaded; the exit status is 0 only when all arrived whole.\n"
           "URL: ftp://, ftps:// (TLS before the login; implicit TLS on port 990), sftp://,\n"
           "     http:// or https:// (PUT, as WebDAV servers take it)\n"
           "  --user USER           the user name to log in with\n"
           "  --password-file FILE  the password, the first line of FILE ('-': standard input)\n"
           "  --identity FILE       SFTP: a private key file to log in with (the password, if\n"
           "                        given, opens the key)\n"
           "  --cacert FILE         FTPS, HTTPS: certificates to trust besides the system's\n";
}

int UploadCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {"--user", "--password-file", "--identity", "--cacert"});
    if (const auto exitCode = line.start(arguments, usage(), 2)) return *exitCode;
    ConsoleReporter reporter;
    UploadRequest request;
    request.address = line.positional()[1];
    request.user = line.value("--user").value_or("");
    request.identityFile = line.value("--identity").value_or("");
    request.caFile = line.value("--cacert").value_or("");
    request.knownHostsFile = UploadRequest::userKnownHostsFile();
    if (const auto file = line.value("--password-file"); file && !readPassword(*file, request.password, reporter))
        return 1;

    std::string problem;
    const auto address = UploadAddress::parse(request.address, {}, problem);
    if (!address) {
        reporter.error(problem);
        return 1;
    }
    const auto set = UploadSet::find(line.positional()[0], problem);
    if (!set) {
        reporter.error(problem);
        return 1;
    }
    ConsoleUploadListener listener(reporter);
    try {
        Uploader uploader(request, listener);
        if (!uploader.upload(*set)) return 1;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    } catch (const std::exception& error) {
        // The network library could not start: nothing was sent.
        reporter.error(error.what());
        return 1;
    }
    for (const UploadSet::File& file : set->files()) std::printf("%s%s\n", address->shown().c_str(), file.name.c_str());
    return 0;
}
