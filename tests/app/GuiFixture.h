// A started program on the offscreen platform, with its own settings folder
// and workspace, answering through scripted dialogs.
#pragma once

#include "ScriptedDialogs.h"
#include "TestSupport.h"
#include "frame/AppState.h"
#include "frame/TFormPrincipal.h"

#include <QStringList>
#include <memory>

namespace kavrin::test {

struct GuiFixture {
    TempFolder folder;
    AppState app;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFormPrincipal> main;

    GuiFixture();
    ~GuiFixture();

    // Starts the program; `executableFolder` defaults to the build's bin folder.
    void start(const QStringList& arguments = {}, const QString& executableFolder = {});
    // Stores a setting as an earlier run of the program would have.
    void storeSetting(const QString& name, const QString& text) const;
};

}  // namespace kavrin::test
