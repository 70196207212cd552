#include "common/test_audio.h"
#include "engine/dsp/spectrum_analysis.h"
#include "widgets/spectrum_view.h"
#include "ui/record_sound_page.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include "quiet_offscreen.h"

namespace {

// Picks an item the way a user does: open the list, click the item.
void pick(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->showPopup();
    QAbstractItemView *view = box->view();
    QTRY_VERIFY(view->isVisible());
    const QRect r = view->visualRect(box->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(box->currentText(), text);
}

// The Record Sound tab's controls, by their object names.
struct Options {
    explicit Options(const RecordSoundPage &tab)
        : panel(tab.findChild<QWidget *>(QStringLiteral("spectrumOptionsPanel"))),
          sizeLabel(tab.findChild<QLabel *>(QStringLiteral("spectrumSizeLabel"))),
          windowLabel(tab.findChild<QLabel *>(QStringLiteral("spectrumWindowLabel"))),
          sizes(tab.findChild<QComboBox *>(QStringLiteral("spectrumSizeList"))),
          windows(tab.findChild<QComboBox *>(QStringLiteral("spectrumWindowList"))),
          styles(tab.findChild<QGroupBox *>(QStringLiteral("spectrumStyleGroup"))),
          view(tab.findChild<SpectrumView *>(QStringLiteral("spectrumView"))),
          spectrum(tab.spectrum())
    {
    }
    QWidget *panel;
    QLabel *sizeLabel;
    QLabel *windowLabel;
    QComboBox *sizes;
    QComboBox *windows;
    QGroupBox *styles;
    SpectrumView *view;
    engine::dsp::SpectrumAnalyser *spectrum;   // the contract the window talks to
};

}  // namespace

class TestSpectrumOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quiet::install(); }

    void layout()
    {
        RecordSoundPage tab;
        const Options o(tab);
        tab.resize(590, 235);
        tab.show();
        QCOMPARE(o.panel->geometry(), QRect(0, 0, 225, 235));
        QCOMPARE(o.sizeLabel->text(), QStringLiteral("FFTArraySize"));
        QCOMPARE(o.windowLabel->text(), QStringLiteral("FFTWindowType"));
        QCOMPARE(o.sizeLabel->x(), 8);
        QCOMPARE(o.windowLabel->x(), 8);
        QCOMPARE(o.sizes->pos(), QPoint(104, 16));
        QCOMPARE(o.sizes->width(), 113);
        QCOMPARE(o.windows->pos(), QPoint(104, 48));
        QCOMPARE(o.windows->width(), 113);
        QCOMPARE(o.styles->geometry(), QRect(8, 76, 209, 93));
        QCOMPARE(o.styles->title(), QStringLiteral("VisType"));
        QCOMPARE(o.view->geometry(), QRect(225, 0, 590 - 225, 235));
        QCOMPARE(o.view->toolTip(), QStringLiteral("Sound Visualization"));
        QVERIFY(!o.sizes->isEditable());
        QVERIFY(!o.windows->isEditable());

        QStringList sizes, windows, styles;
        for (int i = 0; i < o.sizes->count(); ++i)
            sizes << o.sizes->itemText(i);
        for (int i = 0; i < o.windows->count(); ++i)
            windows << o.windows->itemText(i);
        for (int i = 0; i < 6; ++i)
            styles << tab.styleButton(i)->text();
        QCOMPARE(sizes, (QStringList{"256", "1024", "4096"}));
        QCOMPARE(windows, (QStringList{"None", "Welch", "Barlett", "Hanning", "Hamming"}));
        QCOMPARE(styles, (QStringList{"vtFFTAnalog", "vtFFTLinear", "vtFFTNormal", "vtFFTFire", "vtFFTGlass",
                                      "vtFFTKryptonite"}));
        QVERIFY(!tab.styleButton(6));

        // Two columns, filled top to bottom; every caption fits.
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tab.styleButton(i)->x(), tab.styleButton(0)->x());
            QCOMPARE(tab.styleButton(i + 3)->x(), tab.styleButton(3)->x());
            QCOMPARE(tab.styleButton(i)->y(), tab.styleButton(i + 3)->y());
            QVERIFY(tab.styleButton(i)->y() > (i ? tab.styleButton(i - 1)->y() : 0));
        }
        for (int i = 0; i < 6; ++i) {
            QRadioButton *b = tab.styleButton(i);
            QVERIFY(o.styles->contentsRect().contains(b->geometry()));
            QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 16, qPrintable(b->text()));
        }
        QVERIFY(o.windowLabel->fontMetrics().horizontalAdvance(o.windowLabel->text()) <= o.windows->x() - o.windowLabel->x());
    }

    void designValues()
    {
        RecordSoundPage tab;
        const Options o(tab);
        QCOMPARE(o.sizes->currentText(), QStringLiteral("1024"));
        QCOMPARE(o.windows->currentIndex(), 0);
        QCOMPARE(tab.styleIndex(), 2);
        QCOMPARE(o.spectrum->GetVisType(), 2);
        QCOMPARE(o.spectrum->GetWindowArraySize(), 1024);
        QCOMPARE(o.spectrum->GetWindowFFTType(), 0);
        QCOMPARE(o.view->styleKind(), SpectrumView::Kind::Normal);
    }

    void pickingASize_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("size");
        QTest::newRow("256") << "256" << 256;
        QTest::newRow("4096") << "4096" << 4096;
    }
    void pickingASize()
    {
        QFETCH(QString, item);
        QFETCH(int, size);
        RecordSoundPage tab;
        const Options o(tab);
        tab.resize(590, 235);
        tab.show();
        pick(o.sizes, item);
        QCOMPARE(o.spectrum->GetWindowArraySize(), size);
        pick(o.sizes, QStringLiteral("1024"));
        QCOMPARE(o.spectrum->GetWindowArraySize(), 1024);
    }

    void pickingAWindow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("type");
        QTest::newRow("Welch") << "Welch" << 1;
        QTest::newRow("Barlett") << "Barlett" << 2;
        QTest::newRow("Hanning") << "Hanning" << 3;
        QTest::newRow("Hamming") << "Hamming" << 4;
    }
    void pickingAWindow()
    {
        QFETCH(QString, item);
        QFETCH(int, type);
        RecordSoundPage tab;
        const Options o(tab);
        tab.resize(590, 235);
        tab.show();
        pick(o.windows, item);
        QCOMPARE(o.spectrum->GetWindowFFTType(), type);
        pick(o.windows, QStringLiteral("None"));
        QCOMPARE(o.spectrum->GetWindowFFTType(), 0);
    }

    void pickingAStyle_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 6; ++i)
            QTest::addRow("item %d", i) << i;
    }
    void pickingAStyle()
    {
        QFETCH(int, index);
        RecordSoundPage tab;
        const Options o(tab);
        tab.resize(590, 235);
        tab.show();
        if (index == 2)   // start elsewhere so that the click changes something
            QTest::mouseClick(tab.styleButton(5), Qt::LeftButton, {}, QPoint(8, tab.styleButton(5)->height() / 2));
        QTest::mouseClick(tab.styleButton(index), Qt::LeftButton, {}, QPoint(8, tab.styleButton(index)->height() / 2));
        QCOMPARE(tab.styleIndex(), index);
        QCOMPARE(o.spectrum->GetVisType(), index);
        QCOMPARE(int(o.view->styleKind()), index);
    }

    void initShowsTheViewsWindow_data()
    {
        QTest::addColumn<int>("type");
        for (int t = 0; t < 5; ++t)
            QTest::addRow("window %d", t) << t;
    }
    void initShowsTheViewsWindow()
    {
        QFETCH(int, type);
        RecordSoundPage tab;
        const Options o(tab);
        o.sizes->setCurrentIndex(2);
        o.spectrum->SetWindowFFTType(type);
        o.spectrum->SetWindowArraySize(256);
        tab.initSpectrumOptions();
        QCOMPARE(o.sizes->currentText(), QStringLiteral("1024"));
        QCOMPARE(o.windows->currentIndex(), type);
        // It only shows; the spectrum keeps what it had.
        QCOMPARE(o.spectrum->GetWindowArraySize(), 256);
        QCOMPARE(o.spectrum->GetWindowFFTType(), type);
    }

    void drawArrayReachesTheView()
    {
        RecordSoundPage tab;
        const Options o(tab);
        tab.resize(590, 235);
        tab.show();
        // What the window hands the spectrum shows in the view once analysed; a style set
        // through the contract is the view's at once, and an empty array clears at once.
        o.spectrum->SetVisType(3);
        QCOMPARE(o.view->styleKind(), SpectrumView::Kind::Fire);
        o.spectrum->SetWindowArraySize(256);
        o.spectrum->DrawArray(engine::SampleArray::fromFloat(testaudio::tone(1000, 512.0 / 32000, 32000, 2, 0.5f), 32000, 2));
        QTRY_VERIFY(!o.view->frame().isEmpty());
        QCOMPARE(o.view->frame().size, 256);
        QVERIFY(o.view->frame().isStereo());
        const std::vector<float> &left = o.view->frame().left;
        QCOMPARE(int(std::max_element(left.begin(), left.end()) - left.begin()), 8);
        o.spectrum->DrawArray(engine::SampleArray());
        QVERIFY(o.view->frame().isEmpty());
    }

    void aLargeFontStillFits()
    {
        RecordSoundPage tab;
        const Options o(tab);
        QFont big = tab.font();
        big.setPointSizeF(13);
        tab.setFont(big);
        tab.resize(590, 235);
        tab.show();
        QCOMPARE(o.styles->geometry(), QRect(8, 76, 209, 93));
        QCOMPARE(o.windows->geometry().topLeft(), QPoint(104, 48));
        QVERIFY(o.windowLabel->fontMetrics().horizontalAdvance(o.windowLabel->text()) <= 104 - 8);
    }
};

QTEST_MAIN(TestSpectrumOptions)
#include "tst_spectrum_options.moc"
