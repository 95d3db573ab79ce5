#include "RunFixture.h"
#include "TestSupport.h"
#include "frame/LanguageLoader.h"
#include "views/TFormAnimacao.h"
#include "views/TFormMapa.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <gif_lib.h>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

struct AnimationFixture : RunFixture {
    TFormAnimacao* animation;
    AnimationFixture()
    {
        animation = app.windows.animacao;
        animation->availableMemory = [] { return std::optional<std::uint64_t>(1ull << 32); };
    }
    void activate() { main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(animation->parentWidget())); }
    void make() { animation->Button1->click(); }
    std::string frame(const char* name) const { return root() + "Anim/tempImage/" + name; }
    QStringList paths(std::initializer_list<const char*> names) const
    {
        QStringList list;
        for (const char* name : names) list << QString::fromStdString(frame(name));
        return list;
    }
};

}  // namespace

TEST(AnimationWindow, ActivationWithoutResultsRefuses)
{
    AnimationFixture f;
    f.activate();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgAnimationNeedsResults});
    EXPECT_FALSE(f.animation->Button1->isEnabled());
    EXPECT_FALSE(f.animation->SpeedButtonPlay->isEnabled());
}

TEST(AnimationWindow, FramesOfEveryTimeAreTheMapsPictures)
{
    AnimationFixture f;
    f.runAs("Anim");
    f.activate();
    ASSERT_TRUE(f.animation->Button1->isEnabled());
    f.make();
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.animation->Image, f.paths({"0.bmp", "2500.bmp"}));
    EXPECT_TRUE(f.animation->enable);
    EXPECT_TRUE(f.animation->SpeedButtonPlay->isEnabled());
    EXPECT_FALSE(f.animation->PBarFrames->isVisible());
    EXPECT_EQ(f.animation->PBarFrames->value(), 2);
    EXPECT_TRUE(f.app.windows.mapa->Mapa->isVisibleTo(f.app.windows.mapa));
    EXPECT_FALSE(f.app.windows.mapa->hasPicture()) << "the map shows nothing until its next drawing";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QImage(QString::fromStdString(f.frame("0.bmp"))).pixelColor(53, 320), QColor(255, 0, 0))
        << "time 0: the source bar";

    // The frame of 2500 is the map window's picture of 2500.
    TFormMapa* map = f.app.windows.mapa;
    map->ComboBox1->setEditText("2500");
    map->BitBtn1Click();
    EXPECT_EQ(QImage(QString::fromStdString(f.frame("2500.bmp"))).convertToFormat(QImage::Format_RGB888), map->picture());
}

TEST(AnimationWindow, TimesSharingTheirIntegerPartShareAFile)
{
    AnimationFixture f;
    f.type(12, "1.5");
    f.type(13, "0.5");
    f.runAs("Anim");
    f.activate();
    f.make();
    EXPECT_EQ(f.animation->Image, f.paths({"0.bmp", "0.bmp", "1.bmp", "1.bmp"}));
}

TEST(AnimationWindow, PlayPauseAndStopWalkTheFrames)
{
    AnimationFixture f;
    f.type(12, "5000");
    f.runAs("Anim");
    f.activate();
    TFormAnimacao* a = f.animation;
    a->SpeedButtonPlay->click();
    EXPECT_EQ(a->frames, 0) << "nothing before the frames are made";
    EXPECT_FALSE(a->Timer1->isActive());
    f.make();
    ASSERT_EQ(a->Image.size(), 3);
    a->SpeedButtonPlay->click();  // frame 0 at once, the clock starts
    EXPECT_EQ(a->frames, 1);
    EXPECT_TRUE(a->Timer1->isActive());
    EXPECT_EQ(a->Image1->pixmap().toImage().pixelColor(53, 320), QColor(255, 0, 0));
    a->Timer1Timer();
    EXPECT_EQ(a->frames, 2);
    a->Timer1Timer();
    EXPECT_EQ(a->frames, 0) << "wraps after the last";
    a->SpeedButtonPause->click();
    EXPECT_FALSE(a->Timer1->isActive());
    EXPECT_EQ(a->frames, 0);
    a->Timer1Timer();
    a->SpeedButtonPause->click();
    a->SpeedButtonPlay->click();  // continues with the next
    EXPECT_EQ(a->frames, 2);
    a->SpeedButtonStop->click();
    EXPECT_FALSE(a->Timer1->isActive());
    EXPECT_EQ(a->frames, 0);
    a->SpeedButtonPlay->click();
    EXPECT_EQ(a->frames, 1) << "stop then play starts from the first";
    a->parentWidget()->close();  // closing stops the playback
    EXPECT_FALSE(a->Timer1->isActive());
}

TEST(AnimationWindow, SliderSetsTheInterval)
{
    AnimationFixture f;
    const std::pair<int, int> cases[] = {{60, 2000}, {0, 5000}, {99, 100}, {30, 3500}};
    for (const auto& [value, ms] : cases) {
        f.animation->RxSlider1->setValue(value);
        EXPECT_EQ(f.animation->Timer1->interval(), ms) << value;
    }
}

TEST(AnimationWindow, ItShowsItsProgressTheFrameNumberAndTheInterval)
{
    AnimationFixture f;
    f.type(12, "5000");
    f.runAs("Anim");
    f.activate();
    TFormAnimacao* a = f.animation;
    // While the frames are made the progress bar is on screen, and then gone.
    QList<bool> shown;
    QObject::connect(a->PBarFrames, &QProgressBar::valueChanged, a, [&](int value) {
        if (value > 0) shown << a->PBarFrames->isVisibleTo(a);
    });
    f.make();
    ASSERT_EQ(a->Image.size(), 3);
    EXPECT_EQ(shown, (QList<bool>{true, true, true}));
    EXPECT_EQ(a->PBarFrames->value(), 3);
    EXPECT_FALSE(a->PBarFrames->isVisibleTo(a));
    // The frame shown, counted from one, while it plays.
    const QString frameOf = f.app.text(AddedText::AnimationFrameOf);
    a->SpeedButtonPlay->click();
    EXPECT_EQ(a->FrameText->text(), frameOf.arg(1).arg(3));
    a->Timer1Timer();
    a->Timer1Timer();
    EXPECT_EQ(a->FrameText->text(), frameOf.arg(3).arg(3));
    // The interval beside the slider, with the number texts' separator.
    a->RxSlider1->setValue(30);
    EXPECT_EQ(a->IntervalText->text(), f.app.text(AddedText::AnimationInterval).arg("3" + QString(QChar(f.app.separator)) + "5"));
    // Beside the slider, not pushed into the tool bar's overflow.
    EXPECT_TRUE(a->IntervalText->isVisibleTo(a));
    EXPECT_TRUE(a->ButtonGif->isVisibleTo(a));
    EXPECT_GT(a->IntervalText->mapTo(a, QPoint(0, 0)).x(), a->RxSlider1->mapTo(a, QPoint(0, 0)).x());
    a->RxSlider1->setValue(60);
    EXPECT_EQ(a->IntervalText->text(), f.app.text(AddedText::AnimationInterval).arg("2"));
    // Both follow a change of language at once.
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(a->IntervalText->text(), "Interval: 2 s");
    EXPECT_EQ(a->FrameText->text(), "Frame 3 of 3");
}

TEST(AnimationWindow, LowMemoryRefusesAndAFailureCleansUp)
{
    AnimationFixture f;
    f.runAs("Anim");
    f.activate();
    f.animation->availableMemory = [] { return std::optional<std::uint64_t>(49ull << 20); };
    f.make();
    EXPECT_EQ(f.dialogs.notices.last(), f.app.messages.MsgLowMemory);
    EXPECT_FALSE(f.exists("Anim/tempImage"));
    EXPECT_FALSE(f.animation->enable);

    f.animation->availableMemory = [] { return std::optional<std::uint64_t>(50ull << 20); };
    kavrin::test::WriteBytes(f.root() + "Anim/tempImage", "a file where the folder should be");
    f.make();
    EXPECT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.app.windows.mapa->Mapa->isVisibleTo(f.app.windows.mapa));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(f.animation->Button1->isEnabled());
}

TEST(AnimationWindow, TimesWithoutCompleteResultsMakeNoFrameAndAreNamedOnce)
{
    AnimationFixture f;
    f.type(12, "7500");
    f.runAs("Anim");
    std::filesystem::remove(f.root() + "Anim/T2500.txt");
    test::WriteBytes(f.root() + "Anim/T5000.txt", "");
    f.activate();
    f.dialogs.notices.clear();
    f.make();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::TimeWithoutCompleteResults).arg("2500, 5000")});
    EXPECT_EQ(f.animation->Image, f.paths({"0.bmp", "7500.bmp"}));
    EXPECT_FALSE(std::filesystem::exists(f.root() + "Anim/tempImage/2500.bmp"));
    EXPECT_FALSE(std::filesystem::exists(f.root() + "Anim/tempImage/5000.bmp"));
}

TEST(AnimationWindow, AnEmptyFrameListPlaysNothing)
{
    AnimationFixture f;
    f.runAs("Anim");
    f.activate();
    f.app.model.T0 = 10, f.app.model.T1 = 5;
    f.make();
    EXPECT_TRUE(f.animation->Image.isEmpty());
    for (QToolButton* b : {f.animation->SpeedButtonPlay, f.animation->SpeedButtonPause, f.animation->SpeedButtonStop}) b->click();
    EXPECT_FALSE(f.animation->Timer1->isActive());
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(AnimationWindow, TheGifHoldsTheFramesPixels)
{
    AnimationFixture f;
    f.runAs("Anim");
    f.activate();
    f.make();
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "plume"));
    f.animation->ButtonGif->click();
    const std::string gifPath = f.folder.path() + "plume.gif";
    ASSERT_TRUE(std::filesystem::exists(gifPath)) << f.dialogs.errors.join("|").toStdString();
    int error = 0;
    GifFileType* gif = DGifOpenFileName(gifPath.c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, 2);
    for (int n = 0; n < 2; ++n) {
        const QImage bmp(f.animation->Image[n]);
        int differences = 0;
        for (int y = 0; y < 640; ++y)
            for (int x = 0; x < 800; ++x) {
                const GifColorType c = gif->SColorMap->Colors[gif->SavedImages[n].RasterBits[y * 800 + x]];
                differences += QColor(c.Red, c.Green, c.Blue) != bmp.pixelColor(x, y);
            }
        EXPECT_EQ(differences, 0) << n;
    }
    DGifCloseFile(gif, &error);
}

TEST(AnimationWindow, ASecondStartWhileFramesAreMadeIsIgnored)
{
    AnimationFixture f;
    f.type(12, "5000");
    f.runAs("Anim");
    f.activate();
    bool disabledMeanwhile = false;
    // Runs between two frames, when the window handles its events.
    QTimer::singleShot(0, f.animation, [&] {
        disabledMeanwhile = !f.animation->Button1->isEnabled();
        f.animation->Button1Click();
    });
    f.make();
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(f.animation->Image, f.paths({"0.bmp", "2500.bmp", "5000.bmp"}));
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
    EXPECT_TRUE(f.animation->Button1->isEnabled());
}

// Quitting between two frames ends the frames there: the program does not go
// on reading times (the answer "No" has just deleted them) until the last one.
TEST(AnimationWindow, QuittingWhileFramesAreMadeStopsThemAtOnce)
{
    AnimationFixture f;
    f.type(12, "25000");  // eleven times
    f.runAs("Anim");
    f.activate();
    f.dialogs.notices.clear();
    int framesWhenQuit = 0;
    bool closed = false;
    QTimer::singleShot(0, f.animation, [&] {
        framesWhenQuit = f.animation->PBarFrames->value();
        f.dialogs.answers = {Answer::Yes, Answer::No};  // quit: yes; save: no, the results go
        closed = f.main->close();
    });
    f.make();
    EXPECT_TRUE(closed);
    EXPECT_EQ(framesWhenQuit, 1);
    EXPECT_FALSE(f.exists("Anim/T0.txt")) << "the unsaved results were deleted on quitting";
    EXPECT_TRUE(f.animation->Image.isEmpty());
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
    EXPECT_TRUE(f.dialogs.notices.isEmpty()) << "no time is reported as missing";
}
