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

}  // namespace

class TestSpectrumOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quiet::install(); }

    void layout()
    {
        RecordSoundPage tab;
        tab.resize(590, 235);
        tab.show();
        QCOMPARE(tab.OptionsPanel->geometry(), QRect(0, 0, 225, 235));
        QCOMPARE(tab.Label1->text(), QStringLiteral("FFTArraySize"));
        QCOMPARE(tab.Label2->text(), QStringLiteral("FFTWindowType"));
        QCOMPARE(tab.Label1->x(), 8);
        QCOMPARE(tab.Label2->x(), 8);
        QCOMPARE(tab.ComboBox1->pos(), QPoint(104, 16));
        QCOMPARE(tab.ComboBox1->width(), 113);
        QCOMPARE(tab.ComboBox2->pos(), QPoint(104, 48));
        QCOMPARE(tab.ComboBox2->width(), 113);
        QCOMPARE(tab.RadioGroup1->geometry(), QRect(8, 76, 209, 93));
        QCOMPARE(tab.RadioGroup1->title(), QStringLiteral("VisType"));
        QCOMPARE(tab.AudioVisualization1->geometry(), QRect(225, 0, 590 - 225, 235));
        QCOMPARE(tab.AudioVisualization1->toolTip(), QStringLiteral("Sound Visualization"));
        QVERIFY(!tab.ComboBox1->isEditable());
        QVERIFY(!tab.ComboBox2->isEditable());

        QStringList sizes, windows, styles;
        for (int i = 0; i < tab.ComboBox1->count(); ++i)
            sizes << tab.ComboBox1->itemText(i);
        for (int i = 0; i < tab.ComboBox2->count(); ++i)
            windows << tab.ComboBox2->itemText(i);
        for (int i = 0; i < 6; ++i)
            styles << tab.radioItem(i)->text();
        QCOMPARE(sizes, (QStringList{"256", "1024", "4096"}));
        QCOMPARE(windows, (QStringList{"None", "Welch", "Barlett", "Hanning", "Hamming"}));
        QCOMPARE(styles, (QStringList{"vtFFTAnalog", "vtFFTLinear", "vtFFTNormal", "vtFFTFire", "vtFFTGlass",
                                      "vtFFTKryptonite"}));
        QVERIFY(!tab.radioItem(6));

        // Two columns, filled top to bottom; every caption fits.
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tab.radioItem(i)->x(), tab.radioItem(0)->x());
            QCOMPARE(tab.radioItem(i + 3)->x(), tab.radioItem(3)->x());
            QCOMPARE(tab.radioItem(i)->y(), tab.radioItem(i + 3)->y());
            QVERIFY(tab.radioItem(i)->y() > (i ? tab.radioItem(i - 1)->y() : 0));
        }
        for (int i = 0; i < 6; ++i) {
            QRadioButton *b = tab.radioItem(i);
            QVERIFY(tab.RadioGroup1->contentsRect().contains(b->geometry()));
            QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 16, qPrintable(b->text()));
        }
        QVERIFY(tab.Label2->fontMetrics().horizontalAdvance(tab.Label2->text()) <= tab.ComboBox2->x() - tab.Label2->x());
    }

    void designValues()
    {
        RecordSoundPage tab;
        QCOMPARE(tab.ComboBox1->currentText(), QStringLiteral("1024"));
        QCOMPARE(tab.ComboBox2->currentIndex(), 0);
        QCOMPARE(tab.radioItemIndex(), 2);
        QCOMPARE(tab.AudioVisualization1->GetVisType(), 2);
        QCOMPARE(tab.AudioVisualization1->GetWindowArraySize(), 1024);
        QCOMPARE(tab.AudioVisualization1->GetWindowFFTType(), 0);
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
        tab.resize(590, 235);
        tab.show();
        pick(tab.ComboBox1, item);
        QCOMPARE(tab.AudioVisualization1->GetWindowArraySize(), size);
        pick(tab.ComboBox1, QStringLiteral("1024"));
        QCOMPARE(tab.AudioVisualization1->GetWindowArraySize(), 1024);
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
        tab.resize(590, 235);
        tab.show();
        pick(tab.ComboBox2, item);
        QCOMPARE(tab.AudioVisualization1->GetWindowFFTType(), type);
        pick(tab.ComboBox2, QStringLiteral("None"));
        QCOMPARE(tab.AudioVisualization1->GetWindowFFTType(), 0);
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
        tab.resize(590, 235);
        tab.show();
        if (index == 2)   // start elsewhere so that the click changes something
            QTest::mouseClick(tab.radioItem(5), Qt::LeftButton, {}, QPoint(8, tab.radioItem(5)->height() / 2));
        QTest::mouseClick(tab.radioItem(index), Qt::LeftButton, {}, QPoint(8, tab.radioItem(index)->height() / 2));
        QCOMPARE(tab.radioItemIndex(), index);
        QCOMPARE(tab.AudioVisualization1->GetVisType(), index);
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
        tab.ComboBox1->setCurrentIndex(2);
        tab.AudioVisualization1->SetWindowFFTType(type);
        tab.AudioVisualization1->SetWindowArraySize(256);
        tab.InitSpectrumOptions();
        QCOMPARE(tab.ComboBox1->currentText(), QStringLiteral("1024"));
        QCOMPARE(tab.ComboBox2->currentIndex(), type);
        // It only shows; the view keeps what it had.
        QCOMPARE(tab.AudioVisualization1->GetWindowArraySize(), 256);
        QCOMPARE(tab.AudioVisualization1->GetWindowFFTType(), type);
    }

    void aLargeFontStillFits()
    {
        RecordSoundPage tab;
        QFont big = tab.font();
        big.setPointSizeF(13);
        tab.setFont(big);
        tab.resize(590, 235);
        tab.show();
        QCOMPARE(tab.RadioGroup1->geometry(), QRect(8, 76, 209, 93));
        QCOMPARE(tab.ComboBox2->geometry().topLeft(), QPoint(104, 48));
        QVERIFY(tab.Label2->fontMetrics().horizontalAdvance(tab.Label2->text()) <= 104 - 8);
    }
};

QTEST_MAIN(TestSpectrumOptions)
#include "tst_spectrum_options.moc"
