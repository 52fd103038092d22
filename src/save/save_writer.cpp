// The writer thread: a queue of one game snapshot and one write per small file,
// drained in batches; the outcome of each kind of file is kept for the frame.
#include "save/save_writer.h"

#include <cerrno>
#include <utility>

namespace {

// The key of the game's files among the failures (paths of other files are never empty).
const std::string kGameKey;

}  // namespace

SaveProblem WriteGameSnapshot(const GameSnapshot& snapshot, const FileWriteFunction& write,
                              PlayDatabase* database, const std::string& unavailable) {
    if (!snapshot.saveBytes.empty()) {
        if (const int error = write(snapshot.savePath, snapshot.saveBytes))
            return {error, snapshot.savePath, {}};
    }
    if (!database) return {EIO, snapshot.databasePath, unavailable};
    // The history is capped, so a record is always writable; should it not be, the old
    // rows are kept rather than replaced by ones the next start would refuse.
    std::string reason = database->Write(snapshot.state, snapshot.fingerprint, snapshot.game);
    if (!reason.empty()) return {EIO, snapshot.databasePath, std::move(reason)};
    return {};
}

SaveWriter::SaveWriter(FileWriteFunction write) : write_(std::move(write)), thread_([this] { Run(); }) {}

SaveWriter::~SaveWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void SaveWriter::UseDatabase(std::unique_ptr<PlayDatabase> database, std::string unavailable,
                             std::vector<LevelStatistics> statistics) {
    std::lock_guard<std::mutex> lock(mutex_);
    database_ = std::move(database);
    databaseUnavailable_ = std::move(unavailable);
    statistics_ = std::move(statistics);
}

std::vector<LevelStatistics> SaveWriter::Statistics() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statistics_;
}

void SaveWriter::SaveGame(GameSnapshot snapshot) {
    std::optional<GameSnapshot> replaced;  // freed after the lock is given back
    {
        std::lock_guard<std::mutex> lock(mutex_);
        replaced = std::exchange(game_, std::move(snapshot));
    }
    wake_.notify_one();
}

void SaveWriter::SaveFile(const std::string& path, std::string bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        files_[path] = std::move(bytes);
    }
    wake_.notify_one();
}

void SaveWriter::WaitUntilWritten() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !writing_ && !HasWork(); });
}

bool SaveWriter::TakeProblemChange(SaveProblem& problem) {
    static const SaveProblem kNone;
    std::lock_guard<std::mutex> lock(mutex_);
    const SaveProblem& standing = failures_.empty() ? kNone : failures_.begin()->second;
    if (standing == taken_) return false;  // the frame's usual case: compared, nothing copied
    taken_ = standing;
    problem = standing;
    return true;
}

void SaveWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || HasWork(); });
        if (!HasWork()) {  // stopping, and everything handed over is written
            lock.unlock();
            database_.reset();  // its closing checkpoint is disk work too: here, not on the frame's thread
            return;
        }
        std::optional<GameSnapshot> game = std::exchange(game_, std::nullopt);
        std::map<std::string, std::string> files = std::exchange(files_, {});
        writing_ = true;
        lock.unlock();
        WriteBatch(std::move(game), std::move(files));
        lock.lock();
        writing_ = false;
        idle_.notify_all();
    }
}

void SaveWriter::WriteBatch(std::optional<GameSnapshot> game, std::map<std::string, std::string> files) {
    std::map<std::string, SaveProblem> outcomes;
    std::vector<LevelStatistics> statistics;
    const bool gameWritten = game.has_value();
    if (game) outcomes[kGameKey] = WriteGameSnapshot(*game, write_, database_.get(), databaseUnavailable_);
    // A game added or ended: the statistics are read anew, here and not on the frame.
    const bool gamesChanged = gameWritten && database_ && database_->GamesChanged();
    if (gamesChanged) statistics = ComputeStatistics(database_->LoadGames(), database_->LoadBestTimes());
    for (const auto& [path, bytes] : files) outcomes[path] = SaveProblem{write_(path, bytes), path, {}};
    bool changed = false;
    std::function<void()> told;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [key, outcome] : outcomes) {
            if (outcome.error == 0) {
                changed = failures_.erase(key) > 0 || changed;
            } else {
                changed = true;
                failures_[key] = std::move(outcome);
            }
        }
        told = problemChanged_;
        if (gamesChanged) statistics_ = std::move(statistics);
    }
    if (changed && told) told();
}

void SaveWriter::SetProblemCallback(std::function<void()> callback) {
    std::lock_guard<std::mutex> lock(mutex_);
    problemChanged_ = std::move(callback);
}
