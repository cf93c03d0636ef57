#include "EditorDocument.h"

#include "SessionDemo.h"
#include "SessionText.h"

#include "AppLayerInterface.h"

#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "host/RCException.h"
#include "host/SnSelection.h"

#include <QStringList>

#include <exception>
#include <filesystem>
#include <fstream>
#include <unordered_map>

namespace VoEditor {

namespace {

QString joined(const std::vector<std::string> &words) {
    return QString::fromStdString(VoSession::SessionText::join(words, ", "));
}

} // namespace

EditorDocument::Open::Open(const VoSession::SessionScene::Limits &bounds)
    : session(bounds), commands(session), printer(transcript, errors),
      runner(session, commands, printer),
      bridge(session.getController().getShapeSelector(),
             session.getController().getApplicationSelection()) {}

EditorDocument::EditorDocument(QObject *parent) : QObject(parent) {
    auto demo = std::make_unique<Open>(limits);
    VoSession::SessionScene scene(demo->session.getNodeNames());
    std::istringstream text(VoSession::SessionDemo::scene());
    std::string error; // the built-in scene is well formed
    scene.read(text, "<demo>", error);
    install(std::move(demo), scene, "<demo>");
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
    Q_EMIT sceneReplaced();
    Q_EMIT edited();
    return true;
}

bool EditorDocument::openFile(const std::string &path, std::string &error) {
    std::ifstream file;
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored)) {
        file.open(path);
    }
    if (!file.is_open()) {
        error = path + ": cannot open the file";
        return false;
    }
    return open(file, path, error);
}

void EditorDocument::install(std::unique_ptr<Open> replacement,
                             const VoSession::SessionScene &scene, const std::string &name) {
    replacement->session.build(scene);
    EditorSelectionBridge &bridge = replacement->bridge;
    connect(&bridge, &EditorSelectionBridge::selectionChanged, this,
            &EditorDocument::editorSelectionChanged);
    connect(&bridge, &EditorSelectionBridge::shapeSelectionChanged, this,
            &EditorDocument::editorSelectionChanged);
    connect(&bridge, &EditorSelectionBridge::primarySelectionChanged, this,
            &EditorDocument::editorSelectionChanged);
    connect(&bridge, &EditorSelectionBridge::applicationSelectionChanged, this,
            &EditorDocument::applicationSelectionChanged);
    current = std::move(replacement);
    source = name;
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

void EditorDocument::finishMove(const EditorMove &move) {
    applyMove(move);
    note(tr("Move %n point(s) by (%1, %2)", nullptr, static_cast<int>(move.getNbPoints()))
             .arg(move.getOffset().x())
             .arg(move.getOffset().y()));
    Q_EMIT moved(move);
}

int EditorDocument::getNbSlots() const {
    return static_cast<int>(current->session.getScene().getShapes().size());
}

std::vector<EditorShapeView> EditorDocument::describeShapes() const {
    std::unordered_map<std::string, int> slotOfName;
    const std::vector<VoSession::SessionScene::Shape> &described =
        current->session.getScene().getShapes();
    for (std::size_t slot = 0; slot < described.size(); ++slot) {
        slotOfName.emplace(described[slot].name, static_cast<int>(slot));
    }
    const VoExample::AppLayerInterface &layer = current->session.getController().getLayer();
    std::vector<EditorShapeView> views(static_cast<std::size_t>(layer.getNbShapes()));
    std::unordered_map<const Vo::SeShapeInterface *, EditorShapeView *> byShape;
    for (int index = 0; index < layer.getNbShapes(); ++index) {
        EditorShapeView &view = views[static_cast<std::size_t>(index)];
        view.shape = &layer.getShapeAt(index);
        view.name = view.shape->getName();
        view.slot = slotOfName.at(view.name);
        view.nbPoints = view.shape->getNbPoints();
        view.nbHandles = view.shape->getNbHandles();
        byShape.emplace(view.shape, &view);
    }
    const Vo::RCShdPtr<Vo::SnSelection> selection = getSelector().getSelection();
    const Vo::SnItem *primary = selection->getPrimaryItem().get();
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selection) {
        const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(item.get());
        if (shapeItem == nullptr || shapeItem->getData().isNull()) {
            continue;
        }
        const auto found = byShape.find(shapeItem->getData().get());
        if (found == byShape.end()) {
            continue;
        }
        EditorShapeView &view = *found->second;
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
    Q_EMIT logged(lines.join(QLatin1Char('\n')));
    Q_EMIT edited();
    return failure.isEmpty();
}

bool EditorDocument::runCommand(const QString &line) {
    const int failuresBefore = current->runner.getNbFailures();
    std::istringstream in(line.toStdString());
    current->runner.run(in, "<command line>", nullptr, current->transcript);
    Q_EMIT logged(QString::fromStdString(takeTranscript()));
    Q_EMIT edited();
    if (current->commands.isQuitRequested()) {
        Q_EMIT quitRequested();
    }
    return current->runner.getNbFailures() == failuresBefore;
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
