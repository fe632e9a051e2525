#pragma once
// For tests of any folder: the local HTTP(S) and FTP servers of
// platform/inet/testdata, run with Debian's /usr/bin/python3 on 127.0.0.1 at
// a port the server chose free, and stopped (killed and reaped) when the
// object goes. `scripts` is the testdata folder (INET_TESTDATA_DIR).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace inet::testing {

class LocalServer {
public:
    // Starts `/usr/bin/python3 <script> <arguments...>` and reads the port it prints.
    LocalServer(const std::string& script, const std::vector<std::string>& arguments) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) throw std::runtime_error("no pipe for the test server");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::vector<std::string> words{"/usr/bin/python3", script};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        if (spawned != 0) {
            ::close(pipeEnds[0]);
            throw std::runtime_error("cannot start /usr/bin/python3: run scripts/setup");
        }
        std::string line;
        char c;
        while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(pipeEnds[0]);
        port_ = std::atoi(line.c_str());
        if (port_ <= 0) {
            stop();
            throw std::runtime_error("the test server " + script + " did not start (python3-pyftpdlib missing?)");
        }
    }
    ~LocalServer() { stop(); }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int port() const { return port_; }

private:
    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

    pid_t pid_ = -1;
    int port_ = 0;
};

// A self-signed certificate for 127.0.0.1 and "localhost" (or for `name`
// only) with its key, written by openssl into `folder` as cert.pem and key.pem.
inline void MakeSelfSignedCertificate(const std::string& folder, const std::string& name = "") {
    const std::string names = name.empty() ? "IP:127.0.0.1,DNS:localhost" : "DNS:" + name;
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" +
                                (name.empty() ? std::string("localhost") : name) + " -addext subjectAltName=" +
                                names + " -keyout '" + folder + "/key.pem' -out '" + folder +
                                "/cert.pem' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl could not make a certificate");
}

}  // namespace inet::testing
