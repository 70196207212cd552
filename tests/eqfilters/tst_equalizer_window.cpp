// The Equalizer window and the "Equalizer" box on the fake engine.
#include "app/window_fixture.h"
#include "widgets/quiet_offscreen.h"
#include "equalizer_box.h"

#include "widgets/equalizer_bands.h"
#include "ui/equalizer_window.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

QCheckBox *equalizerBox(WindowFixture &w)
{
    return eqtest::equalizerBox(*w.window);
}

EqualizerWindow *equalizerWindow(WindowFixture &w)
{
    return eqtest::equalizerWindow(*w.window);
}

EqualizerBands *bands(WindowFixture &w)
{
    return eqtest::bands(*w.window);
}

QPushButton *closeButton(WindowFixture &w)
{
    return eqtest::closeButton(*w.window);
}

using eqtest::moveBand;

QString bandsCall(const std::array<float, 12> &bands)
{
    QStringList values;
    for (float v : bands)
        values << QString::number(v, 'g', 6);
    return QStringLiteral("player.SetEqualizerBands(%1)").arg(values.join(','));
}

QStringList equalizerCalls(const WindowFixture &w)
{
    return w.engine.log.matching(QStringLiteral("player.SetEqualizer"));
}

// Runs `inside` while the main window's Equalizer command shows the window modally; `inside`
// must close it.
void whileOpen(WindowFixture &w, const std::function<void()> &inside)
{
    bool ran = false;
    QTimer::singleShot(0, w.window.get(), [&] {
        ran = true;
        inside();
        if (equalizerWindow(w)->isVisible())
            equalizerWindow(w)->close();   // a failed check above must not leave the loop running
    });
    w.window->showEqualizer();
    QVERIFY(ran);
}

}  // namespace

class TestEqualizerWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { quiet::install(); }

    void windowAsDesigned()
    {
        WindowFixture w;
        w.start();
        EqualizerWindow *eq = equalizerWindow(w);
        QVERIFY(eq);
        QVERIFY(!eq->isVisible());
        QCOMPARE(eq->windowTitle(), QString("Equalizer"));
        QVERIFY(eq->isModal());
        const Qt::WindowFlags flags = eq->windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(eq->minimumSize(), QSize(340, 160));
        QCOMPARE(eq->maximumSize(), QSize(340, 160));
        QCOMPARE(static_cast<QWidget *>(bands(w))->geometry(), QRect(0, 0, 340, 118));
        QCOMPARE(closeButton(w)->geometry(), QRect(136, 128, 75, 25));
        QCOMPARE(closeButton(w)->text(), QString("Close"));
        QCOMPARE(bands(w)->Min(), -15.0f);
        QCOMPARE(bands(w)->Max(), 15.0f);
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(bands(w)->band(i), 0.0f);
        QCOMPARE(bands(w)->labels(), (QStringList{"36", "63", "109", "190", "330", "574", "1k", "1.7k",
                                                        "3k", "5.3k", "9.2k", "16k"}));
    }

    void startUpSendsNothing()
    {
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QCOMPARE(equalizerCalls(w), QStringList());
    }

    void aMoveSendsAllTwelveBands_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("steps");
        QTest::newRow("band 1 up") << 1 << 3;
        QTest::newRow("band 7 down") << 7 << -4;
        QTest::newRow("band 12 up") << 12 << 1;
    }
    void aMoveSendsAllTwelveBands()
    {
        QFETCH(int, band);
        QFETCH(int, steps);
        WindowFixture w;
        w.start();
        equalizerBox(w);
        EqualizerBands *eq = bands(w);
        eq->setBand(5, -2.5f);   // an unmoved band goes with its value
        w.engine.log.clear();
        moveBand(eq, band, steps);

        std::array<float, 12> expected{};
        expected[4] = -2.5f;
        expected[size_t(band - 1)] = float(steps);
        QCOMPARE(w.engine.log.matching("player.SetEqualizerBands").size(), std::abs(steps));
        QCOMPARE(w.engine.log.matching("player.SetEqualizerBands").last(), bandsCall(expected));
        QCOMPARE(w.player()->bands, expected);
    }

    void firstMoveSwitchesTheGrayedBoxOnOnce()
    {
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        EqualizerBands *eq = bands(w);
        w.engine.log.clear();

        moveBand(eq, 2, 1);
        std::array<float, 12> bands{};
        bands[1] = 1;
        QCOMPARE(equalizerCalls(w), QStringList({bandsCall(bands), "player.SetEqualizerEnabled(true)"}));
        QCOMPARE(box->checkState(), Qt::Checked);
        QVERIFY(w.player()->equalizerOn);

        // Later moves send the bands only and leave the box alone.
        w.engine.log.clear();
        moveBand(eq, 9, -2);
        QCOMPARE(w.engine.log.count("player.SetEqualizerEnabled"), 0);
        QCOMPARE(w.engine.log.count("player.SetEqualizerBands"), 2);
        QCOMPARE(box->checkState(), Qt::Checked);

        // And the box never offers the grayed state again.
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
    }

    void bandsStillGoWhileSwitchedOff()
    {
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        QTest::mouseClick(box, Qt::LeftButton);   // grayed -> checked
        QTest::mouseClick(box, Qt::LeftButton);   // checked -> unchecked
        QCOMPARE(box->checkState(), Qt::Unchecked);
        w.engine.log.clear();

        moveBand(bands(w), 4, 2);
        QCOMPARE(w.engine.log.count("player.SetEqualizerBands"), 2);
        QCOMPARE(w.engine.log.count("player.SetEqualizerEnabled"), 0);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QVERIFY(!w.player()->equalizerOn);
        QCOMPARE(w.player()->bands[3], 2.0f);
    }

    void boxClickCycle_data()
    {
        // How the box is clicked: the mouse, the space bar, or click() as an accessibility
        // client would.
        QTest::addColumn<int>("how");
        QTest::newRow("mouse") << 0;
        QTest::newRow("space bar") << 1;
        QTest::newRow("click()") << 2;
    }
    void boxClickCycle()
    {
        QFETCH(int, how);
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        w.engine.log.clear();
        const QList<Qt::CheckState> states{Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked, Qt::Checked};
        QStringList expected;
        for (Qt::CheckState s : states) {
            if (how == 0)
                QTest::mouseClick(box, Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(box, Qt::Key_Space);
            else
                box->click();
            QCOMPARE(box->checkState(), s);
            expected << QStringLiteral("player.SetEqualizerEnabled(%1)").arg(s == Qt::Checked ? "true" : "false");
        }
        QCOMPARE(equalizerCalls(w), expected);
        QCOMPARE(w.engine.log.count("player.SetEqualizerBands"), 0);
    }

    void opensModalOnTopAndCentred()
    {
        WindowFixture w;
        w.start();
        w.window->move(40, 30);
        QWidget *modal = nullptr;
        QRect frame;
        whileOpen(w, [&] {
            modal = QApplication::activeModalWidget();
            frame = equalizerWindow(w)->frameGeometry();
            QVERIFY(equalizerWindow(w)->isVisible());
            QTest::mouseClick(closeButton(w), Qt::LeftButton);
        });
        QCOMPARE(modal, static_cast<QWidget *>(equalizerWindow(w)));
        QVERIFY(equalizerWindow(w)->windowFlags() & Qt::WindowStaysOnTopHint);
        const QPoint offset = frame.center() - w.window->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(frame.size(), equalizerWindow(w)->frameGeometry().size());
        QVERIFY(!equalizerWindow(w)->isVisible());
    }

    void reopeningKeepsTheBands()
    {
        WindowFixture w;
        w.start();
        equalizerBox(w);
        whileOpen(w, [&] {
            moveBand(bands(w), 3, 5);
            moveBand(bands(w), 11, -6);
            QTest::mouseClick(closeButton(w), Qt::LeftButton);
        });
        QVERIFY(!equalizerWindow(w)->isVisible());
        w.engine.log.clear();
        float band3 = 0, band11 = 0;
        whileOpen(w, [&] {
            band3 = bands(w)->band(3);
            band11 = bands(w)->band(11);
            equalizerWindow(w)->close();   // the close box
        });
        QCOMPARE(band3, 5.0f);
        QCOMPARE(band11, -6.0f);
        QVERIFY(!equalizerWindow(w)->isVisible());
        QCOMPARE(equalizerCalls(w), QStringList());   // opening and closing send nothing
    }

    void aMouseMoveGoesThroughTheSameRoad()
    {
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        w.engine.log.clear();
        whileOpen(w, [&] {
            EqualizerBands *eq = bands(w);
            QTest::mouseClick(eq, Qt::LeftButton, {}, QPoint(eq->bandColumn(6).center().x(), eq->yForValue(9)));
            QTest::mouseClick(closeButton(w), Qt::LeftButton);
        });
        QCOMPARE(w.engine.log.count("player.SetEqualizerBands"), 1);
        QVERIFY2(std::abs(w.player()->bands[5] - 9.0f) <= 0.5f, qPrintable(QString::number(w.player()->bands[5])));
        QCOMPARE(w.engine.log.count("player.SetEqualizerEnabled(true)"), 1);
        QCOMPARE(box->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(TestEqualizerWindow)
#include "tst_equalizer_window.moc"
