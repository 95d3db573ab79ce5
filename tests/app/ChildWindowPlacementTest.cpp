// Every child window opens inside the frame's visible area and can be resized;
// those that lay their contents out to any size can be maximised.
#include "GuiFixture.h"
#include "gui/ChildWindow.h"
#include "observations/TObservacao.h"
#include "project/TFormDados.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QApplication>
#include <QChartView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

TEST(ChildWindowPlacement, EveryChildLiesInsideTheVisibleAreaAndCanBeResized)
{
    for (const QSize screen : {QSize(1366, 768), QSize(1600, 1000)}) {
        GuiFixture f;
        f.start();
        f.main->showNormal();
        f.main->setGeometry(QRect(QPoint(0, 0), screen));
        QApplication::processEvents();
        const Windows& w = f.app.windows;
        QMdiArea* area = f.main->mdiArea();
        for (QWidget* form : {static_cast<QWidget*>(w.dados), static_cast<QWidget*>(w.grafico), static_cast<QWidget*>(w.mapa),
                              static_cast<QWidget*>(w.animacao), static_cast<QWidget*>(w.observacao)}) {
            auto* child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
            ASSERT_NE(child, nullptr);
            // A window left far outside, as after the frame was larger once.
            child->showNormal();
            child->move(screen.width(), screen.height());
            f.main->showWindow(form, true);
            QApplication::processEvents();
            const QRect visible = area->viewport()->rect();
            const std::string name = form->objectName().toStdString() + " at " + std::to_string(screen.width());
            if (child->minimumSizeHint().width() <= visible.width() && child->minimumSizeHint().height() <= visible.height()) {
                EXPECT_TRUE(visible.contains(child->geometry())) << name;
            } else {
                EXPECT_EQ(child->pos(), QPoint(0, 0)) << name;  // too large: starts at the top left and scrolls
            }
            EXPECT_LT(child->minimumWidth(), child->maximumWidth()) << name;
            EXPECT_LT(child->minimumHeight(), child->maximumHeight()) << name;
            EXPECT_EQ((child->windowFlags() & Qt::WindowMaximizeButtonHint) != 0, form != w.dados) << name;
        }
    }
}

// Maximised, the calibration window gives the room to its chart.
TEST(ChildWindowPlacement, TheCalibrationWindowMaximisedGrowsItsChart)
{
    GuiFixture f;
    f.start();
    f.main->showNormal();
    f.main->setGeometry(QRect(0, 0, 1366, 768));
    QApplication::processEvents();
    TObservacao* form = f.app.windows.observacao;
    auto* child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    ASSERT_NE(child, nullptr);
    f.main->showWindow(form, true);
    QApplication::processEvents();
    const QSize before = form->Chart1->size();
    child->showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(child->isMaximized());
    EXPECT_EQ(child->size(), f.main->mdiArea()->viewport()->size());
    EXPECT_GE(form->Chart1->width(), before.width());
    EXPECT_GE(form->Chart1->height(), before.height());
    EXPECT_GT(form->Chart1->width() * form->Chart1->height(), before.width() * before.height());
}
