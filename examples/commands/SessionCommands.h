#pragma once

#include "Session.h"
#include "SessionArguments.h"
#include "SessionFileSystem.h"
#include "SessionReport.h"

#include "AppEditorController.h"
#include "AppShapeInterface.h"

#include "SeShapeSelector.h"

#include "foundation/Set.h"
#include "foundation/Vector.h"

#include <functional>
#include <string>
#include <vector>

namespace VoSession {

// The session's commands: one for each operation of the shape selector, for each edit the
// application makes to its shapes (with the renumbering and the removal event that go with it), for
// writing the application's selection, and show, scene, help and quit. Runs one command line
// against the session and fills its report. Borrows the session and the file system through which
// save-file and load-file reach their files.
class SessionCommands {
public:
    explicit SessionCommands(Session &session,
                             SessionFileSystem &files = SessionFileSystem::standard());
    SessionCommands(const SessionCommands &) = delete;
    SessionCommands &operator=(const SessionCommands &) = delete;

    // Runs words (a command and its arguments). An input error is set in report.error and changes
    // nothing; exceptions of the library pass to the caller.
    void run(const std::vector<std::string> &words, SessionReport &report);
    // Set by the quit command.
    bool isQuitRequested() const noexcept { return quitRequested; }
    // False when the last command edited one of the application's shapes or the picking state: an
    // error after that leaves the edit made. The selections tell for themselves
    // (Session::getRevisions).
    bool isContained() const noexcept { return contained; }

private:
    using Action = std::function<void(SessionArguments &, SessionReport &)>;
    struct Command {
        std::string name; // empty for a heading of the help text
        std::string arguments;
        std::string summary;
        Action action;
    };
    // The point or the handle side of the twin operations.
    struct Channel {
        std::string noun;
        int (VoExample::AppShapeInterface::*count)() const noexcept;
        void (Vo::SeShapeSelector::*select)(int);
        // Null for handles: the selector selects a list of points only.
        void (Vo::SeShapeSelector::*selectList)(const Vo::Vector<int> &);
        void (Vo::SeShapeSelector::*selectAll)(int);
        void (Vo::SeShapeSelector::*next)(int);
        void (Vo::SeShapeSelector::*previous)(int);
        void (Vo::SeShapeSelector::*unselect)();
        void (Vo::SeShapeSelector::*addOne)(int);
        void (Vo::SeShapeSelector::*unselectOne)(int);
        int (Vo::SeShapeSelector::*rank)(int) const;
        void (Vo::SeShapeSelector::*ordered)(Vo::Set<int, std::less<int>> &) const;
        bool (VoExample::AppEditorController::*insert)(VoExample::AppShapeInterface &, int);
        bool (VoExample::AppEditorController::*remove)(VoExample::AppShapeInterface &, int);
    };

    void heading(const std::string &title);
    void add(const std::string &name, const std::string &arguments, const std::string &summary,
             Action action);
    void addShapeCommands();
    void addTwinCommands(const Channel &channel);
    void addApplicationCommands(const Channel &points, const Channel &handles);
    void addHistoryCommands();
    void addSessionCommands();
    const Command *find(const std::string &name) const;

    // Shapes and the primary shape.
    void select(SessionArguments &arguments);
    void setPrimary(SessionArguments &arguments);
    void selectAllShapes(SessionArguments &arguments);
    void isSelected(SessionArguments &arguments, SessionReport &report);
    void setPicking(SessionArguments &arguments, SessionReport &report);
    // Undo, redo and batches.
    void travel(bool back, SessionArguments &arguments, SessionReport &report);
    void endBatch(SessionArguments &arguments, SessionReport &report);
    // Points and handles of the primary shape.
    int countOf(const Channel &channel) const;
    int primaryIndex(const Channel &channel, SessionArguments &arguments) const;
    void selectIndex(const Channel &channel, SessionArguments &arguments);
    void selectList(const Channel &channel, SessionArguments &arguments);
    void step(const Channel &channel, void (Vo::SeShapeSelector::*operation)(int),
              SessionArguments &arguments);
    void rank(const Channel &channel, SessionArguments &arguments, SessionReport &report);
    void listOrdered(const Channel &channel, SessionArguments &arguments, SessionReport &report);
    void edit(const Channel &channel, bool inserting, SessionArguments &arguments,
              SessionReport &report);
    // The application's side.
    void addShape(SessionArguments &arguments);
    void deleteShape(SessionArguments &arguments, SessionReport &report);
    void sendRemoval(SessionArguments &arguments);
    void selectInApplication(SessionArguments &arguments);
    void switchLayer(SessionArguments &arguments, SessionReport &report);
    // Saved selections: under a name, and in files.
    void addSavingCommands();
    void recall(SessionArguments &arguments, SessionReport &report);
    void saveFile(SessionArguments &arguments, SessionReport &report);
    void loadFile(SessionArguments &arguments, SessionReport &report);
    void describeScene(SessionReport &report) const;
    void help(SessionReport &report) const;

    Session &session;
    SessionFileSystem &files;
    std::vector<Command> commands;
    bool quitRequested = false;
    bool contained = true;
};

} // namespace VoSession
