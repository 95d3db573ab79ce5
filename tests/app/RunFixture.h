// A started program whose data window holds a small grid (11 × 7 points), with
// helpers to type, run and look into the workspace.
#pragma once

#include "GuiFixture.h"
#include "project/TFormDados.h"

#include <QAction>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>

namespace kavrin::test {

struct RunFixture : GuiFixture {
    explicit RunFixture(const QStringList& arguments = {})
    {
        start(arguments);
        type(7, "10");
        type(9, "10");
    }
    void type(int edit, const char* text) { app.windows.dados->Edit[static_cast<std::size_t>(edit)]->setText(text); }
    void run() { main->action("ToolButton1")->trigger(); }
    void runAs(const char* name)
    {
        dialogs.projectNames.push_back(QString(name));
        run();
    }
    std::string root() const { return folder.path() + "KAVRIN/"; }
    bool exists(const std::string& relative) const { return std::filesystem::exists(root() + relative); }
    std::vector<std::string> projectFolders() const
    {
        std::vector<std::string> names;
        if (std::filesystem::exists(root()))
            for (const auto& entry : std::filesystem::directory_iterator(root())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace kavrin::test
