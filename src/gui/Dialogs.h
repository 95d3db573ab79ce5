// Every modal exchange with the user goes through this interface, so that
// tests can answer the program's questions with a script.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace kavrin {

class HelpViewer;
struct HelpViewerTexts;

enum class Answer { Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void notice(const QString& text) = 0;                   // text and OK
    virtual Answer question(const QString& text, bool cancel) = 0;  // "KAVRIN", Yes/No(/Cancel)
    virtual void error(const QString& text) = 0;                    // the error box
    // A path, or empty when the user cancelled.
    virtual QString openFile(const QString& filter, const QString& startFolder) = 0;
    virtual QString saveFile(const QString& filter, const QString& proposedName) = 0;
    // A save dialog whose filter decides what is written: the path (empty when
    // cancelled) and the filter the user left chosen among `filters`
    // (";;"-separated), empty when the dialog cannot tell.
    struct SaveChoice {
        QString path, filter;
    };
    virtual SaveChoice saveFileChoosingFilter(const QString& filters, const QString& proposedName)
    {
        return {saveFile(filters, proposedName), QString()};
    }
    // Shows a help page (a local HTML file) in the program's own help window.
    virtual void openDocument(const QString& path) = 0;
    // The help window's texts in the chosen language.
    virtual void setHelpTexts(const HelpViewerTexts&) {}
    // The project-name window, modal: the typed name (empty when closed by its
    // close box), or nothing when the user pressed Cancel.
    virtual std::optional<QString> askProjectName() = 0;
};

// The real dialogs, parented to the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr);
    ~QtDialogs() override;
    void setParent(QWidget* parent) { parent_ = parent; }

    void notice(const QString& text) override;
    Answer question(const QString& text, bool cancel) override;
    void error(const QString& text) override;
    QString openFile(const QString& filter, const QString& startFolder) override;
    QString saveFile(const QString& filter, const QString& proposedName) override;
    SaveChoice saveFileChoosingFilter(const QString& filters, const QString& proposedName) override;
    // Always the program's own window: the desktop's default for HTML files
    // may be an editor. The window offers the page to the web browser.
    void openDocument(const QString& path) override;
    void setHelpTexts(const HelpViewerTexts& texts) override;
    std::optional<QString> askProjectName() override;
    // The window that asks for a project name belongs to the program; it is
    // handed in as the function that shows it.
    using ProjectNameAsker = std::function<std::optional<QString>()>;
    void setProjectNameAsker(ProjectNameAsker asker) { askProjectName_ = std::move(asker); }
    // The help window, once a page was shown.
    HelpViewer* helpViewer() const;

private:
    QWidget* parent_;
    ProjectNameAsker askProjectName_;
    // A window of the main window, which takes it along when it goes.
    QPointer<HelpViewer> helpViewer_;
    std::unique_ptr<HelpViewerTexts> helpTexts_;
};

}  // namespace kavrin
