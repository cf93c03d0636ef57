#include "EditorDocument.h"

#include "EditorMoveEdit.h"
#include "EditorSelectionState.h"
#include "SessionDemo.h"
#include "SessionFileReader.h"
#include "SessionLineReader.h"
#include "SessionSceneWriter.h"
#include "SessionText.h"

#include "AppLayerInterface.h"

#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "base/RCException.h"
#include "host/selection/SnSelection.h"

#include <QSaveFile>
#include <QStringList>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unordered_map>

namespace VoEditor {

namespace {

QString joined(const std::vector<std::string> &words) {
    return QString::fromStdString(VoSession::SessionText::join(words, ", "));
}

} // namespace

EditorDocument::Open::Open(const VoSession::SessionScene::Limits &bounds)
    : session(bounds), commands(session), printer(transcript, errors),
      runner(session, commands, printer) {}

EditorDocument::EditorDocument(QObject *parent) : QObject(parent) {
    auto demo = std::make_unique<Open>(limits);
    VoSession::SessionScene scene(demo->session.getNodeNames());
    std::istringstream text(VoSession::SessionDemo::scene());
    std::string error; // the built-in scene is well formed
    scene.read(text, "<demo>", error);
    install(std::move(demo), scene, "<demo>");
    history = new EditorUndoHistory(*this);
    savedEdits = history->getEditState();
}

EditorDocument::~EditorDocument() = default;

bool EditorDocument::open(std::istream &in, const std::string &name, std::string &error) {
    VoSession::SessionScene scene(current->session.getNodeNames(), limits);
    if (!scene.read(in, name, error)) {
        return false;
    }
    if (in.bad()) {
        error = name + ": cannot read the file";
        return false;
    }
    install(std::make_unique<Open>(limits), scene, name);
    path.clear();
    history->reset();
    savedEdits = history->getEditState();
    editedByCommand = false;
    note(QStringLiteral("opened the scene ") + QString::fromStdString(name) +
         QStringLiteral(": %1 shapes").arg(scene.getShapes().size()));
    Q_EMIT sceneReplaced();
    Q_EMIT edited();
    return true;
}

bool EditorDocument::openFile(const std::string &name, std::string &error) {
    std::ifstream file;
    std::error_code ignored;
    if (!std::filesystem::is_directory(name, ignored)) {
        file.open(name);
    }
    if (!file.is_open()) {
        error = name + ": cannot open the file";
        return false;
    }
    if (!open(file, name, error)) {
        return false;
    }
    path = name;
    return true;
}

std::string EditorDocument::sceneText() const {
    return VoSession::SessionSceneWriter::text(current->session);
}

bool EditorDocument::save(const std::string &target, std::string &error) {
    QSaveFile file(QString::fromStdString(target));
    const QByteArray text = QByteArray::fromStdString(sceneText());
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = target + ": cannot write the file (" + file.errorString().toStdString() + ")";
        return false;
    }
    path = source = target;
    savedEdits = history->getEditState();
    editedByCommand = false;
    note(QStringLiteral("saved the scene to ") + QString::fromStdString(target));
    Q_EMIT saved();
    return true;
}

bool EditorDocument::isModified() const {
    return editedByCommand || history->getEditState() != savedEdits;
}

std::array<long long, 3> EditorDocument::countAll() const {
    std::array<long long, 3> counts{};
    for (std::size_t layer = 0; layer < current->session.getLayerNames().size(); ++layer) {
        const VoExample::AppLayerInterface &shapes = current->session.getLayer(layer);
        counts[0] += shapes.getNbShapes();
        for (int index = 0; index < shapes.getNbShapes(); ++index) {
            counts[1] += shapes.getShapeAt(index).getNbPoints();
            counts[2] += shapes.getShapeAt(index).getNbHandles();
        }
    }
    return counts;
}

void EditorDocument::install(std::unique_ptr<Open> replacement,
                             const VoSession::SessionScene &scene, const std::string &name) {
    replacement->session.build(scene);
    placementSlots = replacement->session.getPlacementSlots();
    bind(*replacement);
    current = std::move(replacement);
    source = name;
}

void EditorDocument::bind(Open &open) {
    open.bridge.reset(); // one bridge at a time: the application's selection has one observer
    open.bridge = std::make_unique<EditorSelectionBridge>(
        open.session.getController().getShapeSelector(),
        open.session.getController().getApplicationSelection());
    EditorSelectionBridge &bridge = *open.bridge;
    for (const auto list :
         {&EditorSelectionBridge::selectionChanged, &EditorSelectionBridge::shapeSelectionChanged,
          &EditorSelectionBridge::primarySelectionChanged}) {
        connect(&bridge, list, this, &EditorDocument::editorSelectionChanged);
    }
    connect(&bridge, &EditorSelectionBridge::selectionChanged, this, [this] {
        if (history != nullptr) {
            history->noteSelectionChanged();
        }
    });
    connect(&bridge, &EditorSelectionBridge::applicationSelectionChanged, this,
            &EditorDocument::applicationSelectionChanged);
}

std::string EditorDocument::otherLayer(int layer) const {
    const std::vector<std::string> names = current->session.getLayerNames();
    return layer == current->session.getActiveLayer() || layer < 0 ||
                   static_cast<std::size_t>(layer) >= names.size()
               ? std::string()
               : names[static_cast<std::size_t>(layer)];
}

void EditorDocument::showLayer(int layer) {
    const std::string name = otherLayer(layer);
    if (!name.empty()) {
        current->session.activateLayer(name);
        bind(*current);
        Q_EMIT layerActivated();
    }
}

void EditorDocument::activateLayer(int layer) {
    const std::string name = otherLayer(layer);
    if (name.empty()) {
        return;
    }
    history->setBusy(true);
    perform(QStringLiteral("activate layer ") + QString::fromStdString(name),
            [this, layer] { showLayer(layer); });
    history->setBusy(false);
    history->rebase();
}

bool EditorDocument::restoreSelection(const Vo::SeSelectionSnapshot &snapshot, std::string &error) {
    if (perform(QStringLiteral("load selection"),
                [&] { current->session.restore(snapshot, false); })) {
        return true;
    }
    error = lastFailure.toStdString();
    return false;
}

void EditorDocument::previewMove(const EditorMove &move) {
    move.apply(current->session);
    Q_EMIT geometryChanged(move);
}

void EditorDocument::applyMove(const EditorMove &move) {
    previewMove(move);
    Q_EMIT edited();
}

void EditorDocument::revertMove(const EditorMove &move) {
    move.revert(current->session);
    Q_EMIT geometryChanged(move);
    Q_EMIT edited();
}

// The burst's points are where it left them already: the undo stack's first apply writes the same
// values again, as one step that undo takes back. A burst that ends where it began (a drag back to
// its start, Up on handles alone) makes no step.
void EditorDocument::finishMove(const EditorMove &move, const QString &verb) {
    if (!move.changes()) {
        return;
    }
    const QString parts =
        EditorSelectionState::describeParts(move.getNbPoints(), move.getNbHandles());
    const QString label = verb.toLower() + QLatin1Char(' ') + parts.toLower();
    history->push(verb + QLatin1Char(' ') + parts,
                  verb != QStringLiteral("Move") ? label
                                                 : label + QStringLiteral(" by (%1, %2)")
                                                               .arg(move.getOffset().x())
                                                               .arg(move.getOffset().y()),
                  std::make_unique<EditorMoveEdit>(*this, move));
    Q_EMIT moved(move);
}

int EditorDocument::getNbSlots() const {
    return static_cast<int>(current->session.getScene().getShapes().size());
}

EditorSlotFinder EditorDocument::slotFinder() const {
    return EditorSlotFinder(current->session.getScene().getShapes());
}

std::vector<EditorShapeView>
EditorDocument::describeLayer(const VoExample::AppLayerInterface &layer, EditorSlotFinder &slots) {
    std::vector<EditorShapeView> views(static_cast<std::size_t>(layer.getNbShapes()));
    for (int index = 0; index < layer.getNbShapes(); ++index) {
        EditorShapeView &view = views[static_cast<std::size_t>(index)];
        view.shape = &layer.getShapeAt(index);
        view.name = view.shape->getName();
        view.slot = slots.find(view.name);
        view.nbPoints = view.shape->getNbPoints();
        view.nbHandles = view.shape->getNbHandles();
    }
    return views;
}

std::vector<EditorShapeView> EditorDocument::describeOtherLayers() const {
    EditorSlotFinder slots = slotFinder();
    const VoSession::Session &session = current->session;
    std::vector<EditorShapeView> views;
    for (std::size_t layer = 0; layer < session.getLayerNames().size(); ++layer) {
        if (static_cast<int>(layer) != session.getActiveLayer()) {
            for (EditorShapeView &view : describeLayer(session.getLayer(layer), slots)) {
                view.dimmed = true;
                views.push_back(std::move(view));
            }
        }
    }
    return views;
}

// The selection lists its shapes in the layer's order after a select-all and in most selections
// an artist makes: the view after the last one found is tried first, and an index by shape is
// built only at the first item found elsewhere.
std::vector<EditorShapeView> EditorDocument::describeShapes() const {
    EditorSlotFinder slots = slotFinder();
    std::vector<EditorShapeView> views =
        describeLayer(current->session.getController().getLayer(), slots);
    std::unordered_map<const Vo::SeShapeInterface *, EditorShapeView *> byShape;
    std::size_t next = 0;
    const auto viewOf = [&](const Vo::SeShapeInterface *shape) -> EditorShapeView * {
        if (next < views.size() && views[next].shape == shape) {
            return &views[next++];
        }
        if (byShape.empty()) {
            for (EditorShapeView &view : views) {
                byShape.emplace(view.shape, &view);
            }
        }
        const auto found = byShape.find(shape);
        if (found == byShape.end()) {
            return nullptr;
        }
        next = static_cast<std::size_t>(found->second - views.data()) + 1;
        return found->second;
    };
    const Vo::RCShdPtr<Vo::SnSelection> selection = getSelector().getSelection();
    const Vo::SnItem *primary = selection->getPrimaryItem().get();
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selection) {
        const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(item.get());
        EditorShapeView *found = shapeItem == nullptr || shapeItem->getData().isNull()
                                     ? nullptr
                                     : viewOf(shapeItem->getData().get());
        if (found == nullptr) {
            continue;
        }
        EditorShapeView &view = *found;
        view.selected = true;
        ++view.nbItems;
        view.primary = view.primary || item.get() == primary;
        if (const auto *parts = dynamic_cast<const Vo::SeShapeParts *>(item->getParts().get())) {
            view.points.assign(parts->getPoints().begin(), parts->getPoints().end());
            view.handles.assign(parts->getHandles().begin(), parts->getHandles().end());
        }
    }
    return views;
}

bool EditorDocument::perform(const QString &label, const std::function<void()> &action) {
    QString failure;
    try {
        action();
    } catch (const Vo::RCException &exception) {
        failure = QStringLiteral("the library raised: ") + exception.what();
    } catch (const std::exception &exception) {
        failure = QStringLiteral("error: ") + exception.what();
    }
    QStringList lines{label};
    const std::vector<std::string> events = current->session.takeEvents();
    if (!events.empty()) {
        lines << QStringLiteral("  events:     ") + joined(events);
    }
    const std::vector<std::string> callbacks = current->session.takeCallbacks();
    lines << QStringLiteral("  callbacks:  ") +
                 (callbacks.empty() ? QStringLiteral("none") : joined(callbacks));
    if (!failure.isEmpty()) {
        lines << QStringLiteral("  failed:     ") + failure;
    }
    if (!history->isBusy()) {
        history->recordSelection();
    }
    Q_EMIT logged(lines.join(QLatin1Char('\n')), !failure.isEmpty());
    if (!failure.isEmpty()) {
        lastFailure = failure;
        Q_EMIT failed(label + QStringLiteral(": ") + failure);
    }
    Q_EMIT edited();
    return failure.isEmpty();
}

bool EditorDocument::runCommand(const QString &line) {
    std::istringstream in(line.toStdString());
    std::string firstError;
    return runLines(in, "<command line>", firstError);
}

bool EditorDocument::runScriptFile(const std::string &path, std::string &error) {
    std::vector<std::string> lines;
    const bool fromInput = path == "-";
    if (fromInput ? !readInput(std::cin, lines, error)
                  : !VoSession::SessionFileReader(VoSession::SessionFileSystem::standard(),
                                                  "a script of session commands")
                         .read(path, lines, error)) {
        return false;
    }
    std::string text;
    for (const std::string &line : lines) {
        text += line;
        text += '\n';
    }
    std::vector<std::string>().swap(lines);
    std::istringstream in(text);
    return runLines(in, fromInput ? "<stdin>" : path, error);
}

bool EditorDocument::readInput(std::istream &input, std::vector<std::string> &lines,
                               std::string &error) {
    VoSession::SessionLineReader reader(input);
    std::string line;
    std::size_t total = 0;
    for (long long number = 1;; ++number) {
        const VoSession::SessionLineReader::Result result = reader.read(line);
        if (result == VoSession::SessionLineReader::Result::End) {
            if (input.bad()) {
                error = "<stdin>: cannot read standard input";
            }
            return !input.bad();
        }
        total += line.size() + 1;
        if (result == VoSession::SessionLineReader::Result::TooLong ||
            total > VoSession::SessionFileReader::defaultMaxBytes) {
            error = "<stdin>:" + std::to_string(number) + ": " +
                    (result == VoSession::SessionLineReader::Result::TooLong
                         ? reader.describeTooLong(line)
                         : "the script goes on past " +
                               std::to_string(VoSession::SessionFileReader::defaultMaxBytes) +
                               " bytes (expected at most that many)");
            return false;
        }
        lines.push_back(line);
    }
}

// One run of the driver's runner over every line: its messages name the source and the line, and
// a batch may span lines.
bool EditorDocument::runLines(std::istream &in, const std::string &name, std::string &firstError) {
    const int failuresBefore = current->runner.getNbFailures();
    const int layerBefore = current->session.getActiveLayer();
    const std::array<long long, 3> countsBefore = countAll();
    current->runner.run(in, name, nullptr, current->transcript);
    editedByCommand = editedByCommand || countAll() != countsBefore;
    if (current->session.getActiveLayer() == layerBefore) {
        history->recordSelection();
    } else {
        // The driver's `layer` command: the views follow the new layer, as from the switcher.
        bind(*current);
        history->rebase();
        Q_EMIT layerActivated();
    }
    const bool passed = current->runner.getNbFailures() == failuresBefore;
    firstError = current->errors.str().substr(0, current->errors.str().find('\n'));
    const QString transcript = QString::fromStdString(takeTranscript());
    Q_EMIT logged(transcript, !passed);
    if (!passed) {
        Q_EMIT failed(QString::fromStdString(firstError));
    }
    Q_EMIT edited();
    if (current->commands.isQuitRequested()) {
        Q_EMIT quitRequested();
    }
    return passed;
}

std::string EditorDocument::takeTranscript() {
    std::string text = current->transcript.str() + current->errors.str();
    current->transcript.str(std::string());
    current->errors.str(std::string());
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

} // namespace VoEditor
