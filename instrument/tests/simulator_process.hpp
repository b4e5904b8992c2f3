#pragma once
// Runs sgsim for one test on an ephemeral loopback port, with its log and its
// store folder in a temporary folder, and stops it when the test ends.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/records.hpp"
#include "common/testing/temporary_folder.hpp"

namespace dot11b::instrument {

class SimulatorProcess {
public:
    // `options` are further sgsim options, e.g. {"--pty"} or {"--reply-delay", "2000"}.
    explicit SimulatorProcess(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {SGSIM_PATH, "--port",         "0",           "--log", log_path().string(),
                                         "--store",  store().string(), "--time-limit", "120"};
        args.insert(args.end(), options.begin(), options.end());
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
        try {
            read_greeting(options);
        } catch (...) {
            kill_now();
            throw;
        }
    }

    ~SimulatorProcess() {
        try {
            stop();
        } catch (const std::exception&) {
            // stop() has already killed a simulator that did not answer.
        }
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    std::uint16_t port() const { return port_; }
    const std::string& pty() const { return pty_; }
    std::filesystem::path store() const { return folder_.path() / "store"; }
    std::filesystem::path log_path() const { return folder_.path() / "sgsim.log"; }

    // A LAN connection record for the simulator.
    app::ConnectionConfig lan() const {
        app::ConnectionConfig config;
        config.type = "TCPIP";
        config.tcpip.address = "127.0.0.1:" + std::to_string(port_);
        return config;
    }

    // Every command line received so far, in order.
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        std::ifstream in(log_path());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Stops the simulator (it then writes its store folder) and returns its summary.
    std::string stop() {
        if (pid_ <= 0) return summary_;
        // pid_ is positive here, so this signals the simulator alone.
        ::kill(pid_, SIGTERM);
        while (!eof_) {
            const std::string line = read_line();
            summary_ += line;
            if (!eof_) summary_ += '\n';
        }
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        ::close(out_);
        out_ = -1;
        return summary_;
    }

private:
    void read_greeting(const std::vector<std::string>& options) {
        const std::string first = read_line();
        const std::string prefix = "listening on 127.0.0.1:";
        if (first.rfind(prefix, 0) != 0) throw std::runtime_error("sgsim did not start: " + first);
        port_ = static_cast<std::uint16_t>(std::stoi(first.substr(prefix.size())));
        for (const auto& option : options) {
            if (option == "--pty") pty_ = read_line().substr(std::string("serial on ").size());
        }
    }

    // One line of sgsim's standard output; gives up after 20 s so that a
    // broken simulator fails the test instead of hanging it.
    std::string read_line() {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!eof_) {
            pollfd p{out_, POLLIN, 0};
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                kill_now();
                throw std::runtime_error("sgsim did not answer");
            }
            char c = 0;
            if (::read(out_, &c, 1) <= 0) {
                eof_ = true;
                break;
            }
            if (c == '\n') break;
            line += c;
        }
        return line;
    }

    // Only ever the simulator's own process id: never 0 or -1, which would signal others.
    void kill_now() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (out_ >= 0) ::close(out_);
        out_ = -1;
        eof_ = true;
    }

    test::TemporaryFolder folder_;
    pid_t pid_ = -1;
    int out_ = -1;
    bool eof_ = false;
    std::uint16_t port_ = 0;
    std::string pty_;
    std::string summary_;
};

}  // namespace dot11b::instrument
