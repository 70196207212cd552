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
    return eqtest::equalizerBox(*w.form);
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

// Runs `inside` while ToolBtnEqualizerClick shows the window modally; `inside` must close it.
void whileOpen(WindowFixture &w, const std::function<void()> &inside)
{
    bool ran = false;
    QTimer::singleShot(0, w.form.get(), [&] {
        ran = true;
        inside();
        if (w.form->frmEQ->isVisible())
            w.form->frmEQ->close();   // a failed check above must not leave the loop running
    });
    w.form->ToolBtnEqualizerClick();
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
        EqualizerWindow *eq = w.form->frmEQ;
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
        QCOMPARE(static_cast<QWidget *>(eq->Equalizer1)->geometry(), QRect(0, 0, 340, 118));
        QCOMPARE(eq->BtnClose->geometry(), QRect(136, 128, 75, 25));
        QCOMPARE(eq->BtnClose->text(), QString("Close"));
        QCOMPARE(eq->Equalizer1->Min(), -15.0f);
        QCOMPARE(eq->Equalizer1->Max(), 15.0f);
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(eq->Equalizer1->band(i), 0.0f);
        QCOMPARE(eq->Equalizer1->Labels(), (QStringList{"36", "63", "109", "190", "330", "574", "1k", "1.7k",
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
        EqualizerBands *eq = w.form->frmEQ->Equalizer1;
        eq->SetBand(5, -2.5f);   // an unmoved band goes with its value
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
        EqualizerBands *eq = w.form->frmEQ->Equalizer1;
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

        moveBand(w.form->frmEQ->Equalizer1, 4, 2);
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
        w.form->move(40, 30);
        QWidget *modal = nullptr;
        QRect frame;
        whileOpen(w, [&] {
            modal = QApplication::activeModalWidget();
            frame = w.form->frmEQ->frameGeometry();
            QVERIFY(w.form->frmEQ->isVisible());
            QTest::mouseClick(w.form->frmEQ->BtnClose, Qt::LeftButton);
        });
        QCOMPARE(modal, static_cast<QWidget *>(w.form->frmEQ));
        QVERIFY(w.form->frmEQ->windowFlags() & Qt::WindowStaysOnTopHint);
        const QPoint offset = frame.center() - w.form->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(frame.size(), w.form->frmEQ->frameGeometry().size());
        QVERIFY(!w.form->frmEQ->isVisible());
    }

    void reopeningKeepsTheBands()
    {
        WindowFixture w;
        w.start();
        equalizerBox(w);
        whileOpen(w, [&] {
            moveBand(w.form->frmEQ->Equalizer1, 3, 5);
            moveBand(w.form->frmEQ->Equalizer1, 11, -6);
            QTest::mouseClick(w.form->frmEQ->BtnClose, Qt::LeftButton);
        });
        QVERIFY(!w.form->frmEQ->isVisible());
        w.engine.log.clear();
        float band3 = 0, band11 = 0;
        whileOpen(w, [&] {
            band3 = w.form->frmEQ->Equalizer1->band(3);
            band11 = w.form->frmEQ->Equalizer1->band(11);
            w.form->frmEQ->close();   // the close box
        });
        QCOMPARE(band3, 5.0f);
        QCOMPARE(band11, -6.0f);
        QVERIFY(!w.form->frmEQ->isVisible());
        QCOMPARE(equalizerCalls(w), QStringList());   // opening and closing send nothing
    }

    void aMouseMoveGoesThroughTheSameRoad()
    {
        WindowFixture w;
        w.start();
        QCheckBox *box = equalizerBox(w);
        w.engine.log.clear();
        whileOpen(w, [&] {
            EqualizerBands *eq = w.form->frmEQ->Equalizer1;
            QTest::mouseClick(eq, Qt::LeftButton, {}, QPoint(eq->bandColumn(6).center().x(), eq->yForValue(9)));
            QTest::mouseClick(w.form->frmEQ->BtnClose, Qt::LeftButton);
        });
        QCOMPARE(w.engine.log.count("player.SetEqualizerBands"), 1);
        QVERIFY2(std::abs(w.player()->bands[5] - 9.0f) <= 0.5f, qPrintable(QString::number(w.player()->bands[5])));
        QCOMPARE(w.engine.log.count("player.SetEqualizerEnabled(true)"), 1);
        QCOMPARE(box->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(TestEqualizerWindow)
#include "tst_equalizer_window.moc"
