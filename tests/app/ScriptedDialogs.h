// Dialogs that answer from a script and record what the program showed.
#pragma once

#include "gui/Dialogs.h"
#include "gui/HelpViewer.h"

#include <QStringList>
#include <deque>

namespace kavrin::test {

class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;  // for question(); No when empty
    std::deque<QString> files;   // for openFile()/saveFile(); cancelled when empty
    QStringList notices, errors, questions, documents;
    std::deque<std::optional<QString>> projectNames;  // for askProjectName(); Cancel when empty
    int projectNameRequests = 0;
    int saveRequests = 0;

    void notice(const QString& text) override { notices << text; }
    Answer question(const QString& text, bool) override
    {
        questions << text;
        if (answers.empty()) return Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void error(const QString& text) override { errors << text; }
    QString openFile(const QString&, const QString&) override { return next(); }
    QString saveFile(const QString&, const QString&) override
    {
        ++saveRequests;
        return next();
    }
    // For saveFileChoosingFilter(): the index of the filter left chosen (the
    // first when empty), and every filter list the dialog offered.
    std::deque<int> chosenFilters;
    QStringList offeredFilters;
    SaveChoice saveFileChoosingFilter(const QString& filters, const QString& proposedName) override
    {
        offeredFilters << filters;
        int index = 0;
        if (!chosenFilters.empty()) {
            index = chosenFilters.front();
            chosenFilters.pop_front();
        }
        return {saveFile(filters, proposedName), filters.split(";;").value(index)};
    }
    void openDocument(const QString& path) override { documents << path; }
    void setHelpTexts(const HelpViewerTexts& texts) override { helpTexts = texts; }
    HelpViewerTexts helpTexts;  // the last texts the help window was given
    std::optional<QString> askProjectName() override
    {
        ++projectNameRequests;
        if (projectNames.empty()) return std::nullopt;
        const std::optional<QString> name = projectNames.front();
        projectNames.pop_front();
        return name;
    }

private:
    QString next()
    {
        if (files.empty()) return QString();
        const QString file = files.front();
        files.pop_front();
        return file;
    }
};

}  // namespace kavrin::test
