#pragma once
// Writes backup copies on a thread of its own, so a slow disk never holds up
// the keystroke that changed the text. Only the newest text of each file is
// kept waiting: a copy superseded before its turn is never written. Every
// copy is written atomically, so a crash leaves the previous one whole.
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace penvox {

class BackupWriter {
public:
    BackupWriter();
    ~BackupWriter();  // writes what is still waiting, then stops
    BackupWriter(const BackupWriter&) = delete;
    BackupWriter& operator=(const BackupWriter&) = delete;

    void write(std::string path, std::string bytes);
    // Returns once every copy handed over so far is on disk (or failed).
    void flush();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::map<std::string, std::string> waiting_;  // path -> newest bytes
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace penvox
