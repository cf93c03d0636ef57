#include "SessionCommands.h"

#include "SessionScene.h"
#include "SessionSelectionFile.h"
#include "SessionText.h"

#include "AppLayerInterface.h"

#include "SeShape.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace VoSession {

using Vo::RCShdPtr;
using Vo::SeShapeSelector;
using VoExample::AppEditorController;
using VoExample::AppShapeInterface;

namespace {

// A name comes back in the transcript, and a file name goes to the system as a C string: a byte
// that is no printable UTF-8 (a NUL above all, which would cut a file name short) is refused.
void refuseUnprintable(SessionArguments &arguments, const std::string &what,
                       const std::string &name) {
    const std::string problem = SessionText::unprintableProblem(what, name);
    if (!problem.empty()) {
        arguments.fail(problem);
    }
}

const std::size_t helpColumn = 40;

std::string capitalised(std::string word) {
    word.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(word.front())));
    return word;
}

std::string plural(int count, const std::string &noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string joinNumbers(const Vo::Set<int, std::less<int>> &numbers) {
    std::vector<std::string> words;
    for (const int number : numbers) {
        words.push_back(std::to_string(number));
    }
    return SessionText::join(words, " ");
}

std::string describeNode(const Vo::PiNode &node) {
    std::string line = "node " + node.getName();
    if (node.isTool()) {
        line += " (tool)";
    }
    if (node.isPrimaryOutput()) {
        line += " (primary output)";
    }
    for (int index = 0; index < node.getNbDownstream(); ++index) {
        line += (index == 0 ? " feeds " : ", ") + node.getDownstream(index)->getName();
    }
    // A deleted shape's graph object and inputs leave the node: the counts show it.
    if (node.getNbObjects() > 0 || node.getNbInputs() > 0) {
        line += "; owns " + plural(node.getNbObjects(), "object") + ", " +
                plural(node.getNbInputs(), "input");
    }
    return line;
}

std::string describeShape(const AppShapeInterface &shape) {
    std::string line = "shape " + shape.getName() + " (id " + std::to_string(shape.getId()) +
                       "): " + plural(shape.getNbPoints(), "point");
    if (shape.hasSingleValuedPoints()) {
        line += " in one single-valued \"Points\" input";
    }
    if (shape.hasGradient()) {
        line += ", " + plural(shape.getNbHandles(), "handle");
    }
    return line;
}

// Room for one more result, made before a command acts: once it has acted, nothing may fail.
void makeRoom(SessionReport &report) { report.results.reserve(report.results.size() + 1); }

// The next word as a place in the application's selection, 0 to last.
int placeIn(SessionArguments &arguments, int last) {
    const int place = arguments.integer("place");
    if (arguments.getError().empty() && (place < 0 || place > last)) {
        arguments.fail(last < 0 ? "the application's selection is empty"
                                : "place " + std::to_string(place) +
                                      " out of range (expected 0 to " + std::to_string(last) + ")");
    }
    return place;
}

} // namespace

SessionCommands::SessionCommands(Session &owner, SessionFileSystem &system)
    : session(owner), files(system) {
    const Channel points{"point",
                         &AppShapeInterface::getNbPoints,
                         &SeShapeSelector::selectPoint,
                         &SeShapeSelector::selectPoints,
                         &SeShapeSelector::selectAllPoints,
                         &SeShapeSelector::selectNextPoint,
                         &SeShapeSelector::selectPreviousPoint,
                         &SeShapeSelector::unselectPoints,
                         &SeShapeSelector::addSelectedPoint,
                         &SeShapeSelector::unselectPoint,
                         &SeShapeSelector::getPointSelectionRank,
                         &SeShapeSelector::getOrderedSelectedPoints,
                         &AppEditorController::insertPoint,
                         &AppEditorController::deletePoint};
    const Channel handles{"handle",
                          &AppShapeInterface::getNbHandles,
                          &SeShapeSelector::selectHandle,
                          nullptr,
                          &SeShapeSelector::selectAllHandles,
                          &SeShapeSelector::selectNextHandle,
                          &SeShapeSelector::selectPreviousHandle,
                          &SeShapeSelector::unselectHandles,
                          &SeShapeSelector::addSelectedHandle,
                          &SeShapeSelector::unselectHandle,
                          &SeShapeSelector::getHandleSelectionRank,
                          &SeShapeSelector::getOrderedSelectedHandles,
                          &AppEditorController::insertHandle,
                          &AppEditorController::deleteHandle};
    addShapeCommands();
    heading("Points and handles of the primary shape (indices count from 0):");
    addTwinCommands(points);
    addTwinCommands(handles);
    addApplicationCommands(points, handles);
    addHistoryCommands();
    addSavingCommands();
    addSessionCommands();
}

void SessionCommands::run(const std::vector<std::string> &words, SessionReport &report) {
    const Command *command = find(words.front());
    if (command == nullptr) {
        report.error = "unknown command " + SessionText::quote(words.front()) +
                       " (expected a command; \"help\" lists them)";
        return;
    }
    SessionArguments arguments(session, words,
                               SessionText::trim(command->name + " " + command->arguments));
    contained = true;
    command->action(arguments, report);
    report.error = arguments.getError();
}

void SessionCommands::heading(const std::string &title) { commands.push_back({"", "", title, {}}); }

void SessionCommands::add(const std::string &name, const std::string &arguments,
                          const std::string &summary, Action action) {
    commands.push_back({name, arguments, summary, std::move(action)});
}

void SessionCommands::addShapeCommands() {
    heading("The editor's selection (SeShapeSelector):");
    add("select", "[SHAPE...]", "setSelectedShapes: these shapes, in order; none: no shape",
        [this](SessionArguments &arguments, SessionReport &) { select(arguments); });
    add("primary", "SHAPE [POINT]", "setPrimarySelectedShape: SHAPE alone, with POINT",
        [this](SessionArguments &arguments, SessionReport &) { setPrimary(arguments); });
    add("select-all-shapes", "[FROM]", "selectAllShapes: adds the shapes from FROM (the first) on",
        [this](SessionArguments &arguments, SessionReport &) { selectAllShapes(arguments); });
    for (const bool adding : {true, false}) {
        add(adding ? "add-shape" : "unselect-shape", "SHAPE",
            adding ? "addSelectedShape: SHAPE after the selected ones, as a whole"
                   : "unselectShape: SHAPE out; the others keep their place and parts",
            [this, adding](SessionArguments &arguments, SessionReport &) {
                AppShapeInterface *shape = arguments.shape();
                if (arguments.finish()) {
                    Vo::SeShapeSelector &selector = session.getSelector();
                    adding ? selector.addSelectedShape(shape->getShape())
                           : selector.unselectShape(shape->getShape());
                }
            });
    }
    add("reset", "", "resetSelection: nothing selected",
        [this](SessionArguments &arguments, SessionReport &) {
            if (arguments.finish()) {
                session.getSelector().resetSelection();
            }
        });
    add("count", "", "getNbSelectedShape",
        [this](SessionArguments &arguments, SessionReport &report) {
            if (arguments.finish()) {
                report.results.push_back(
                    "selected shapes: " +
                    std::to_string(session.getSelector().getNbSelectedShape()));
            }
        });
    add("is-selected", "SHAPE", "isShapeSelected",
        [this](SessionArguments &arguments, SessionReport &report) {
            isSelected(arguments, report);
        });
    add("picking", "TYPE INDEX EXTREMITY", "setPicking...: stores the picking state, reads it back",
        [this](SessionArguments &arguments, SessionReport &report) {
            setPicking(arguments, report);
        });
}

void SessionCommands::addTwinCommands(const Channel &channel) {
    const std::string noun = channel.noun;
    const std::string name = capitalised(noun);
    add("select-" + noun, "INDEX", "select" + name + ": INDEX alone; the other kind stays",
        [this, channel](SessionArguments &arguments, SessionReport &) {
            selectIndex(channel, arguments);
        });
    if (channel.selectList != nullptr) {
        add("select-" + noun + "s", "INDEX...",
            "select" + name + "s: these " + noun + "s, in this order",
            [this, channel](SessionArguments &arguments, SessionReport &) {
                selectList(channel, arguments);
            });
    }
    add("select-all-" + noun + "s", "",
        "selectAll" + name + "s, with the shape's number of " + noun + "s",
        [this, channel](SessionArguments &arguments, SessionReport &) {
            step(channel, channel.selectAll, arguments);
        });
    add("next-" + noun, "", "selectNext" + name + ": the one after rank 1, alone, wrapping",
        [this, channel](SessionArguments &arguments, SessionReport &) {
            step(channel, channel.next, arguments);
        });
    add("previous-" + noun, "", "selectPrevious" + name + ": the one before rank 1, wrapping",
        [this, channel](SessionArguments &arguments, SessionReport &) {
            step(channel, channel.previous, arguments);
        });
    add("unselect-" + noun + "s", "", "unselect" + name + "s",
        [this, channel](SessionArguments &arguments, SessionReport &) {
            if (arguments.finish()) {
                (session.getSelector().*channel.unselect)();
            }
        });
    for (const bool adding : {true, false}) {
        add((adding ? "add-" : "unselect-") + noun, "INDEX",
            adding ? "addSelected" + name + ": INDEX after the selected ones"
                   : "unselect" + name + ": INDEX out; the others keep their order",
            [this, channel, adding](SessionArguments &arguments, SessionReport &) {
                const int index = primaryIndex(channel, arguments);
                if (arguments.finish()) {
                    (session.getSelector().*(adding ? channel.addOne : channel.unselectOne))(index);
                }
            });
    }
    add(noun + "-rank", "INDEX...", "get" + name + "SelectionRank: from 1; 0: not selected",
        [this, channel](SessionArguments &arguments, SessionReport &report) {
            rank(channel, arguments, report);
        });
    add("ordered-" + noun + "s", "", "getOrderedSelected" + name + "s: in index order",
        [this, channel](SessionArguments &arguments, SessionReport &report) {
            listOrdered(channel, arguments, report);
        });
}

void SessionCommands::addApplicationCommands(const Channel &points, const Channel &handles) {
    heading("The application's edits (shape events, renumbering):");
    add("shape", "NAME POINTS [HANDLES] [single]",
        "builds a shape (a scene line), sends ShapeAdded",
        [this](SessionArguments &arguments, SessionReport &) { addShape(arguments); });
    for (const Channel *channel : {&points, &handles}) {
        const std::string noun = channel->noun;
        const std::string name = capitalised(noun);
        const std::string where = noun == "point" ? "\"Points\"" : "the gradient";
        add("insert-" + noun, "SHAPE INDEX",
            "inserts into " + where + ", updateSelection" + name + "Added",
            [this, twin = *channel](SessionArguments &arguments, SessionReport &report) {
                edit(twin, true, arguments, report);
            });
        add("delete-" + noun, "SHAPE INDEX",
            "removes from " + where + ", updateSelection" + name + "Deleted",
            [this, twin = *channel](SessionArguments &arguments, SessionReport &report) {
                edit(twin, false, arguments, report);
            });
    }
    add("delete", "SHAPE [no-event]", "deletes, sends ShapeRemoved (no-event: holds it)",
        [this](SessionArguments &arguments, SessionReport &report) {
            deleteShape(arguments, report);
        });
    add("send-removal", "SHAPE", "sends the ShapeRemoved held back",
        [this](SessionArguments &arguments, SessionReport &) { sendRemoval(arguments); });
    heading("The application's selection (other views than the editor):");
    add("host-select", "NAME...", "selects these shapes' graph objects or nodes",
        [this](SessionArguments &arguments, SessionReport &) { selectInApplication(arguments); });
    add("host-add", "NAME [PLACE]", "insertItem: NAME's graph object or node at PLACE (the end)",
        [this](SessionArguments &arguments, SessionReport &) {
            const RCShdPtr<Vo::PiGraphObject const> object = arguments.graphObject();
            const int items = session.getController().getApplicationSelection()->getNbItems();
            const int place = arguments.hasMore() ? placeIn(arguments, items) : items;
            if (arguments.finish()) {
                session.getController().getApplicationSelection()->insertItem(
                    place, Vo::PiSnItemUtil::createFromBase(object));
            }
        });
    add("host-remove", "PLACE", "removeItem: the item at PLACE of the application's selection",
        [this](SessionArguments &arguments, SessionReport &) {
            const RCShdPtr<Vo::SnSelection> host =
                session.getController().getApplicationSelection();
            const int place = placeIn(arguments, host->getNbItems() - 1);
            if (arguments.finish()) {
                host->removeItem(*std::next(host->begin(), place));
            }
        });
    add("host-clear", "", "selects nothing", [this](SessionArguments &arguments, SessionReport &) {
        if (arguments.finish()) {
            session.selectInApplication({});
        }
    });
}

void SessionCommands::addHistoryCommands() {
    heading("Undo and batches (SeSelectionHistory, SeSelectionBatch):");
    add("undo", "", "undo: the editor's selection before its last change",
        [this](SessionArguments &arguments, SessionReport &report) {
            travel(true, arguments, report);
        });
    add("redo", "", "redo: the change undone last",
        [this](SessionArguments &arguments, SessionReport &report) {
            travel(false, arguments, report);
        });
    add("batch", "", "opens a batch (nested in an open one); a failing command abandons it",
        [this](SessionArguments &arguments, SessionReport &report) {
            if (arguments.finish()) {
                session.openBatch(report.line);
                report.results.push_back(session.getBatchDepth() == 1
                                             ? "batch opened"
                                             : "nested batch opened (depth " +
                                                   std::to_string(session.getBatchDepth()) + ")");
            }
        });
    add("end", "", "ends the innermost batch; the outermost commits its net change",
        [this](SessionArguments &arguments, SessionReport &report) {
            endBatch(arguments, report);
        });
}

void SessionCommands::addSavingCommands() {
    heading("Saved selections (SeSelectionSnapshot; skip: leave out what no longer resolves):");
    add("save", "NAME", "keeps the editor's selection under NAME",
        [this](SessionArguments &arguments, SessionReport &report) {
            const std::vector<std::string> words = arguments.rest();
            if (words.size() != 1) {
                arguments.fail("save takes one name (expected save NAME)");
            } else {
                refuseUnprintable(arguments, "selection name", words.front());
            }
            if (arguments.finish()) {
                std::string saved = "saved as " + words.front();
                makeRoom(report);
                session.saveSelection(words.front());
                report.results.push_back(std::move(saved));
            }
        });
    add("recall", "NAME [skip]", "restores the selection saved under NAME, as one change",
        [this](SessionArguments &arguments, SessionReport &report) { recall(arguments, report); });
    add("save-file", "FILE", "writes the editor's selection into FILE (its text form)",
        [this](SessionArguments &arguments, SessionReport &report) {
            saveFile(arguments, report);
        });
    add("load-file", "FILE [skip]", "restores the selection written in FILE, as one change",
        [this](SessionArguments &arguments, SessionReport &report) {
            loadFile(arguments, report);
        });
}

namespace {

// The words "NAME [skip]": the name, and whether skip was given.
bool readSkip(SessionArguments &arguments, std::string &name, const char *usage) {
    const std::vector<std::string> words = arguments.rest();
    if (words.empty() || words.size() > 2 || (words.size() == 2 && words[1] != "skip")) {
        arguments.fail(std::string("expected ") + usage);
        return false;
    }
    name = words.front();
    return words.size() == 2;
}

void reportSkipped(const std::vector<std::string> &skipped, SessionReport &report) {
    for (const std::string &entry : skipped) {
        report.results.push_back("left out " + entry);
    }
}

} // namespace

void SessionCommands::recall(SessionArguments &arguments, SessionReport &report) {
    std::string name;
    const bool skip = readSkip(arguments, name, "recall NAME [skip]");
    const std::vector<std::string> names = session.getSavedNames();
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
        arguments.fail("no selection saved as " + SessionText::quote(name) + " (expected " +
                       (names.empty() ? std::string("\"save NAME\" first")
                                      : "one of " + SessionText::join(names, ", ")) +
                       ")");
    }
    std::vector<std::string> skipped;
    if (arguments.finish() && session.recallSelection(name, skip, skipped)) {
        reportSkipped(skipped, report);
    }
}

void SessionCommands::saveFile(SessionArguments &arguments, SessionReport &report) {
    const std::vector<std::string> words = arguments.rest();
    if (words.size() != 1) {
        arguments.fail("save-file takes one file name (expected save-file FILE)");
    } else {
        refuseUnprintable(arguments, "file name", words.front());
    }
    if (!arguments.finish()) {
        return;
    }
    std::string written = "written to " + words.front();
    makeRoom(report);
    const std::string problem =
        SessionSelectionFile(files).save(words.front(), session.captureSelection());
    if (!problem.empty()) {
        arguments.fail(problem);
        return;
    }
    report.results.push_back(std::move(written));
}

void SessionCommands::loadFile(SessionArguments &arguments, SessionReport &report) {
    std::string name;
    const bool skip = readSkip(arguments, name, "load-file FILE [skip]");
    refuseUnprintable(arguments, "file name", name);
    if (!arguments.finish()) {
        return;
    }
    Vo::SeSelectionSnapshot snapshot;
    std::string problem;
    if (!SessionSelectionFile(files).load(name, snapshot, problem)) {
        arguments.fail(problem);
        return;
    }
    reportSkipped(session.restore(snapshot, skip), report);
}

void SessionCommands::addSessionCommands() {
    heading("The session:");
    add("layer", "NAME", "makes that layer's editor the active one: republish writes it out",
        [this](SessionArguments &arguments, SessionReport &report) {
            switchLayer(arguments, report);
        });
    add("show", "", "prints the state", [](SessionArguments &arguments, SessionReport &report) {
        report.display = SessionReport::StateDisplay::Always;
        arguments.finish();
    });
    add("scene", "", "lists the graph's nodes and the shapes",
        [this](SessionArguments &arguments, SessionReport &report) {
            if (arguments.finish()) {
                describeScene(report);
            }
        });
    add("help", "", "lists the commands",
        [this](SessionArguments &arguments, SessionReport &report) {
            if (arguments.finish()) {
                help(report);
            }
        });
    add("quit", "", "ends the script or the interactive session",
        [this](SessionArguments &arguments, SessionReport &report) {
            report.display = SessionReport::StateDisplay::Never;
            quitRequested = arguments.finish();
        });
}

const SessionCommands::Command *SessionCommands::find(const std::string &name) const {
    const auto found = std::find_if(commands.begin(), commands.end(), [&name](const Command &c) {
        return !c.name.empty() && c.name == name;
    });
    return found == commands.end() ? nullptr : &*found;
}

void SessionCommands::select(SessionArguments &arguments) {
    Vo::Vector<RCShdPtr<Vo::SeShape>> shapes;
    while (arguments.hasMore()) {
        if (AppShapeInterface *shape = arguments.shape()) {
            shapes.push_back(shape->getShape());
        }
    }
    if (arguments.finish()) {
        session.getSelector().setSelectedShapes(shapes);
    }
}

void SessionCommands::setPrimary(SessionArguments &arguments) {
    AppShapeInterface *shape = arguments.shape();
    int point = -1; // no point
    if (shape != nullptr && arguments.hasMore()) {
        point = arguments.index("point", shape->getNbPoints() - 1, *shape);
    }
    if (arguments.finish()) {
        session.getSelector().setPrimarySelectedShape(shape->getShape(), point);
    }
}

void SessionCommands::selectAllShapes(SessionArguments &arguments) {
    Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes = session.getController().getLayer().getShapes();
    if (arguments.hasMore()) {
        if (AppShapeInterface *from = arguments.shape()) {
            const Vo::SeShape *first = from->getShape().get();
            while (!shapes.atEnd() &&
                   static_cast<const Vo::Iterator<RCShdPtr<Vo::SeShape>> &>(shapes).item().get() !=
                       first) {
                shapes.next();
            }
        }
    }
    if (arguments.finish()) {
        session.getSelector().selectAllShapes(shapes);
    }
}

void SessionCommands::isSelected(SessionArguments &arguments, SessionReport &report) {
    AppShapeInterface *shape = arguments.shape();
    if (arguments.finish()) {
        const bool selected = session.getSelector().isShapeSelected(shape->getShape());
        report.results.push_back(shape->getName() +
                                 (selected ? " is selected" : " is not selected"));
    }
}

void SessionCommands::setPicking(SessionArguments &arguments, SessionReport &report) {
    const int type = arguments.integer("picking type");
    const int index = arguments.integer("picking index");
    const int extremity = arguments.integer("picking extremity");
    if (!arguments.finish()) {
        return;
    }
    SeShapeSelector &selector = session.getSelector();
    contained = false; // the picking state is read back once stored
    selector.setPickingType(static_cast<SeShapeSelector::PickingType>(type));
    selector.setPickingIndex(index);
    selector.setPickingExtremity(extremity);
    report.results.push_back("picking type " +
                             std::to_string(static_cast<int>(selector.getPickingType())) +
                             ", index " + std::to_string(selector.getPickingIndex()) +
                             ", extremity " + std::to_string(selector.getPickingExtremity()));
}

void SessionCommands::travel(bool back, SessionArguments &arguments, SessionReport &report) {
    if (!arguments.finish()) {
        return;
    }
    Vo::SeSelectionHistory &history = session.getHistory();
    const bool done = back ? history.undo() : history.redo();
    const std::string steps = plural(history.getNbUndoSteps(), "step") + " to undo, " +
                              std::to_string(history.getNbRedoSteps()) + " to redo";
    report.results.push_back(done ? (back ? "undone; " : "redone; ") + steps
                                  : (back ? "nothing to undo; " : "nothing to redo; ") + steps);
}

void SessionCommands::endBatch(SessionArguments &arguments, SessionReport &report) {
    if (!arguments.finish()) {
        return;
    }
    const int depth = session.getBatchDepth();
    if (depth == 0) {
        arguments.fail("no batch is open (expected \"batch\" first)");
        return;
    }
    if (depth > 1) {
        session.endBatch();
        report.results.push_back("nested batch ended (depth " + std::to_string(depth - 1) +
                                 " left)");
        return;
    }
    const RCShdPtr<Vo::SnSelection> selection = session.getSelector().getSelection();
    const RCShdPtr<Vo::SnSelection const> before(selection->clone());
    session.endBatch();
    report.results.push_back(selection->isEqual(before)
                                 ? "batch ended with no net change: nothing committed"
                                 : "batch committed");
}

int SessionCommands::countOf(const Channel &channel) const {
    const AppShapeInterface *primary = session.getPrimaryShape();
    return primary != nullptr ? (primary->*channel.count)() : 0;
}

int SessionCommands::primaryIndex(const Channel &channel, SessionArguments &arguments) const {
    // An index of the primary shape is checked against what it has; with no primary shape the
    // selector does nothing with the index, so any integer will do.
    const AppShapeInterface *primary = session.getPrimaryShape();
    return primary != nullptr
               ? arguments.index(channel.noun, (primary->*channel.count)() - 1, *primary)
               : arguments.integer(channel.noun + " index");
}

void SessionCommands::selectIndex(const Channel &channel, SessionArguments &arguments) {
    const int index = primaryIndex(channel, arguments);
    if (arguments.finish()) {
        (session.getSelector().*channel.select)(index);
    }
}

void SessionCommands::selectList(const Channel &channel, SessionArguments &arguments) {
    Vo::Vector<int> indices;
    while (arguments.hasMore()) {
        indices.push_back(primaryIndex(channel, arguments));
    }
    if (arguments.finish()) {
        (session.getSelector().*channel.selectList)(indices);
    }
}

// The count the selector needs is the primary shape's number of points (handles).
void SessionCommands::step(const Channel &channel, void (SeShapeSelector::*operation)(int),
                           SessionArguments &arguments) {
    if (arguments.finish()) {
        (session.getSelector().*operation)(countOf(channel));
    }
}

void SessionCommands::rank(const Channel &channel, SessionArguments &arguments,
                           SessionReport &report) {
    std::vector<int> indices;
    do {
        indices.push_back(arguments.integer(channel.noun + " index"));
    } while (arguments.hasMore());
    if (!arguments.finish()) {
        return;
    }
    for (const int index : indices) {
        const int rank = (session.getSelector().*channel.rank)(index);
        report.results.push_back(
            channel.noun + " " + std::to_string(index) +
            (rank == 0 ? ": not selected (rank 0)" : ": rank " + std::to_string(rank)));
    }
}

void SessionCommands::listOrdered(const Channel &channel, SessionArguments &arguments,
                                  SessionReport &report) {
    if (!arguments.finish()) {
        return;
    }
    Vo::Set<int, std::less<int>> ordered;
    (session.getSelector().*channel.ordered)(ordered);
    report.results.push_back(ordered.empty() ? "no " + channel.noun + " selected"
                                             : "selected " + channel.noun +
                                                   "s in index order: " + joinNumbers(ordered));
}

void SessionCommands::edit(const Channel &channel, bool inserting, SessionArguments &arguments,
                           SessionReport &report) {
    AppShapeInterface *shape = arguments.shape();
    int index = 0;
    if (shape != nullptr) {
        const int count = (shape->*channel.count)();
        index = arguments.index(channel.noun, inserting ? count : count - 1, *shape);
    }
    if (!arguments.finish()) {
        return;
    }
    AppEditorController &controller = session.getController();
    contained = false; // the shape's edit stands once made
    const bool done = (controller.*(inserting ? channel.insert : channel.remove))(*shape, index);
    if (!done) {
        arguments.fail("shape " + SessionText::quote(shape->getName()) +
                       " has no gradient (expected a shape with handles)");
        return;
    }
    report.results.push_back(shape->getName() + " has " +
                             plural((shape->*channel.count)(), channel.noun) + " now");
}

void SessionCommands::addShape(SessionArguments &arguments) {
    SessionScene::Shape shape;
    const std::string problem = session.getScene().parseShape(arguments.rest(), 0, shape);
    if (!problem.empty()) {
        arguments.fail(problem);
    }
    shape.layer = session.getActiveLayer();
    if (arguments.finish()) {
        contained = false;
        session.addShape(shape);
    }
}

void SessionCommands::switchLayer(SessionArguments &arguments, SessionReport &report) {
    const std::vector<std::string> names = session.getLayerNames();
    const std::vector<std::string> words = arguments.rest();
    const std::string expected = "(expected one of " + SessionText::join(names, ", ") + ")";
    if (words.size() != 1) {
        arguments.fail("layer takes one layer name " + expected);
    } else if (std::find(names.begin(), names.end(), words.front()) == names.end()) {
        arguments.fail("unknown layer " + SessionText::quote(words.front()) + " " + expected);
    } else if (session.getBatchDepth() > 0) {
        arguments.fail("cannot switch layers inside a batch (expected \"end\" first)");
    }
    if (arguments.finish()) {
        session.activateLayer(words.front());
        report.results.push_back("layer " + words.front() + " is active");
    }
}

void SessionCommands::deleteShape(SessionArguments &arguments, SessionReport &report) {
    const AppShapeInterface *shape = arguments.shape();
    const bool withoutEvent = arguments.keyword("no-event");
    if (!arguments.finish()) {
        return;
    }
    const std::string name = shape->getName(); // the shape goes with the next call
    contained = false;
    if (withoutEvent) {
        session.deleteWithoutEvent(name);
        report.results.push_back(name + " is deleted; its ShapeRemoved waits for \"send-removal " +
                                 name + "\"");
    } else {
        session.getController().deleteShape(name);
    }
}

void SessionCommands::sendRemoval(SessionArguments &arguments) {
    const std::string name = arguments.waitingShape();
    if (arguments.finish()) {
        contained = false;
        session.sendRemoval(name);
    }
}

void SessionCommands::selectInApplication(SessionArguments &arguments) {
    std::vector<RCShdPtr<Vo::PiGraphObject const>> objects;
    do {
        objects.push_back(arguments.graphObject());
    } while (arguments.hasMore());
    if (arguments.finish()) {
        session.selectInApplication(objects);
    }
}

void SessionCommands::describeScene(SessionReport &report) const {
    const Vo::PiGraph &graph = *session.getController().getCompositionGraph();
    for (int index = 0; index < graph.getNbNodes(); ++index) {
        report.results.push_back(describeNode(*graph.getNode(index)));
    }
    // Every layer's shapes, the layer named when there are several.
    const std::vector<std::string> layers = session.getLayerNames();
    for (std::size_t at = 0; at < layers.size(); ++at) {
        const VoExample::AppLayerInterface &layer = session.getLayer(at);
        const std::string owner = layers.size() == 1 ? "" : ", in layer " + layers[at];
        for (int index = 0; index < layer.getNbShapes(); ++index) {
            report.results.push_back(describeShape(layer.getShapeAt(index)) + owner);
        }
    }
    for (const std::string &name : session.getWaitingNames()) {
        report.results.push_back("shape " + name + ": deleted, its ShapeRemoved not sent yet");
    }
}

void SessionCommands::help(SessionReport &report) const {
    report.display = SessionReport::StateDisplay::Never;
    for (const Command &command : commands) {
        if (command.name.empty()) {
            report.results.push_back(command.summary);
            continue;
        }
        std::string synopsis = "  " + SessionText::trim(command.name + " " + command.arguments);
        synopsis.resize(std::max(helpColumn, synopsis.size() + 1), ' ');
        report.results.push_back(synopsis + command.summary);
    }
}

} // namespace VoSession
