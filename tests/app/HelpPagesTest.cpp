// The two help pages: the same sections in both languages, every link of
// their contents leading to a section, and every shortcut of the menu named.
#include "GuiFixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <vector>

using namespace kavrin;
using kavrin::test::GuiFixture;

namespace {

const char* const kPages[] = {"HELPP.html", "HELPE.html"};

QString page(const char* name)
{
    QFile file(QString(KAVRIN_SOURCE_DATA_DIR) + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

// The ids of the page's headings, in the page's order.
QStringList sectionIds(const QString& html)
{
    QStringList ids;
    static const QRegularExpression heading(R"re(<h[1-6][^>]*\bid="([^"]+)")re");
    for (auto match = heading.globalMatch(html); match.hasNext();) ids << match.next().captured(1);
    return ids;
}

// The shortcut as a whole key: "F5" is not found inside "Ctrl+F5" or "F50".
bool namesShortcut(const QString& html, const QString& keys)
{
    const QRegularExpression whole("(?<![\\w+])" + QRegularExpression::escape(keys) + "(?!\\w)");
    return html.contains(whole);
}

}  // namespace

TEST(HelpPages, BothLanguagesHaveTheSameSections)
{
    const QStringList portuguese = sectionIds(page("HELPP.html"));
    const QStringList english = sectionIds(page("HELPE.html"));
    EXPECT_GE(english.size(), 10);
    EXPECT_EQ(portuguese, english);
}

TEST(HelpPages, EveryLinkInsideAPageLeadsToOneOfItsSections)
{
    static const QRegularExpression link(R"re(href="#([^"]+)")re");
    for (const char* name : kPages) {
        const QString html = page(name);
        const QStringList ids = sectionIds(html);
        int links = 0;
        for (auto match = link.globalMatch(html); match.hasNext(); ++links) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(ids.contains(target)) << name << ": #" << target.toStdString();
        }
        EXPECT_GE(links, ids.size() - 1) << name << ": the contents list every section";
    }
}

TEST(HelpPages, EveryShortcutOfTheMenuIsNamedInBothLanguages)
{
    GuiFixture f;
    f.start();
    QStringList shortcuts;
    for (const QMenu* menu : f.main->menuBar()->findChildren<QMenu*>())
        for (const QAction* action : menu->actions())
            if (!action->shortcut().isEmpty()) shortcuts << action->shortcut().toString(QKeySequence::PortableText);
    shortcuts.removeDuplicates();
    ASSERT_GE(shortcuts.size(), 9);
    for (const char* name : kPages) {
        const QString html = page(name);
        for (const QString& keys : shortcuts) EXPECT_TRUE(namesShortcut(html, keys)) << name << ": " << keys.toStdString();
    }
}

// What the pages say of the model: the half-space, the retarded velocity, the
// half-life, R and a factor below 1, the mean absolute error; and none of the
// words that said otherwise.
TEST(HelpPages, ThePhysicsIsNamedAsTheProgramComputesIt)
{
    struct Page {
        const char* name;
        std::vector<const char*> said, unsaid;
    };
    const Page pages[] = {
        {"HELPE.html",
         {"x ≥ 0", "retarded velocity", "v = Kxx · i / (n · R)", "retarded dispersion", "no molecular diffusion", "t½ = ln 2 / λ",
          "R = 1 + ρb · Kd / n", "a factor below 1 is not applied", "mean absolute error", "twice as high"},
         {"seepage velocity", "isotropic", "an infinite aquifer", "of the dissolved phase"}},
        {"HELPP.html",
         {"x ≥ 0", "velocidade retardada", "v = Kxx · i / (n · R)", "velocidade linear média", "difusão molecular",
          "t½ = ln 2 / λ", "R = 1 + ρb · Kd / n", "um fator abaixo de 1 não é aplicado", "erro médio absoluto", "dispersividade",
          "barra de ferramentas", "dobro da altura"},
         {"velocidade de percolação", "isotrópic", "aquífero infinito", "da fase dissolvida"}},
    };
    for (const Page& p : pages) {
        const QString html = page(p.name);
        for (const char* words : p.said) EXPECT_TRUE(html.contains(QString::fromUtf8(words))) << p.name << ": " << words;
        for (const char* words : p.unsaid)
            EXPECT_FALSE(html.contains(QString::fromUtf8(words), Qt::CaseInsensitive)) << p.name << ": " << words;
    }
}
