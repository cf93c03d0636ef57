// The page's module: WebEditor as the JavaScript class Editor.

#include "WebEditor.h"

#include <emscripten/bind.h>

EMSCRIPTEN_BINDINGS(voshape_web) {
    emscripten::class_<VoWeb::WebEditor>("Editor")
        .constructor<>()
        .function("open", &VoWeb::WebEditor::open)
        .function("getShapes", &VoWeb::WebEditor::getShapes)
        .function("run", &VoWeb::WebEditor::run)
        .function("getSelection", &VoWeb::WebEditor::getSelection)
        .function("getPrimaryPoints", &VoWeb::WebEditor::getPrimaryPoints)
        .function("getEditorSelection", &VoWeb::WebEditor::getEditorSelection)
        .function("getHostSelection", &VoWeb::WebEditor::getHostSelection);
}
