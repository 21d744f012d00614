// One run of the program: start-up in order, and the single way it ends.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace korv {

class Database;
class TFrmMain_wxgl;

// Start-up takes the program directory, so a test can run the whole program, end it and run
// it again in one process; nothing of a run lives on in statics.
class Program {
public:
    explicit Program(const QString &programDir);
    ~Program();

    // Title, main window (opens the database), then the login. False when the program ended
    // during start-up: no database, or the login was given up.
    bool start();
    // Ends the program at once. By default leaves the event loop; tests observe it instead.
    void end();
    bool ended() const { return ended_; }
    void setEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

    TFrmMain_wxgl *mainWindow() const { return main_.get(); }

private:
    QString programDir_;
    std::unique_ptr<TFrmMain_wxgl> main_;
    std::function<void()> endHandler_;
    bool ended_ = false;
};

// The program directory with a trailing separator.
QString normalizedProgramDir(const QString &dir);

// Gives a shop file made by an earlier version the look-up indexes a new file is created with.
// A file that cannot take them now (another copy of the program is writing) opens without
// them at once; the next start tries again.
void addMissingIndexes(Database &db);

// Application-wide looks, shared by the program and the tool that photographs its windows:
// the Chinese font, Chinese calendars and standard button texts (确定/取消).
void setUpApplication();

}  // namespace korv
