#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

// A FIFO where a file is expected. Code that opens it for reading would wait for a writer
// for ever; the guard watches for such a reader, lets it through at once with an empty
// stream, and remembers it, so a test fails on `readerWaited()` instead of hanging.
class FifoGuard {
public:
    explicit FifoGuard(std::string fifoPath) : path(std::move(fifoPath))
    {
        made = ::mkfifo(path.c_str(), 0600) == 0;
        watcher = std::thread([this] {
            while (!stop) {
                // Opening for writing without waiting succeeds only while someone reads.
                const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    waited = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    ~FifoGuard()
    {
        stop = true;
        watcher.join();
    }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool created() const { return made; }
    bool readerWaited() const { return waited; }

private:
    std::string path;
    bool made = false;
    std::atomic<bool> stop{false};
    std::atomic<bool> waited{false};
    std::thread watcher;
};
