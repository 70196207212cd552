#include "ui/record_sound_page.h"

#include "widgets/spectrum_view.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

RecordSoundPage::RecordSoundPage(QWidget *parent) : QWidget(parent)
{
    OptionsPanel = new QWidget(this);
    OptionsPanel->setFixedWidth(225);

    Label1 = new QLabel(QStringLiteral("FFTArraySize"), OptionsPanel);
    Label1->move(8, 16);
    ComboBox1 = new QComboBox(OptionsPanel);
    ComboBox1->addItems({QStringLiteral("256"), QStringLiteral("1024"), QStringLiteral("4096")});
    ComboBox1->setCurrentIndex(1);
    ComboBox1->setGeometry(104, 16, 113, ComboBox1->sizeHint().height());
    Label1->setBuddy(ComboBox1);

    Label2 = new QLabel(QStringLiteral("FFTWindowType"), OptionsPanel);
    Label2->move(8, 48);
    ComboBox2 = new QComboBox(OptionsPanel);
    ComboBox2->addItems({QStringLiteral("None"), QStringLiteral("Welch"), QStringLiteral("Barlett"),
                         QStringLiteral("Hanning"), QStringLiteral("Hamming")});
    ComboBox2->setCurrentIndex(0);
    ComboBox2->setGeometry(104, 48, 113, ComboBox2->sizeHint().height());
    Label2->setBuddy(ComboBox2);

    RadioGroup1 = new QGroupBox(QStringLiteral("VisType"), OptionsPanel);
    RadioGroup1->setGeometry(8, 76, 209, 93);
    auto *grid = new QGridLayout(RadioGroup1);
    grid->setContentsMargins(6, 2, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    m_radioButtons = new QButtonGroup(this);
    const QStringList items = {QStringLiteral("vtFFTAnalog"), QStringLiteral("vtFFTLinear"),
                               QStringLiteral("vtFFTNormal"), QStringLiteral("vtFFTFire"),
                               QStringLiteral("vtFFTGlass"),  QStringLiteral("vtFFTKryptonite")};
    // Two columns, filled top to bottom: items 0..2 left, 3..5 right.
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], RadioGroup1);
        m_radioButtons->addButton(button, i);
        grid->addWidget(button, i % 3, i / 3);
    }
    m_radioButtons->button(2)->setChecked(true);

    AudioVisualization1 = new SpectrumView(this);
    AudioVisualization1->setObjectName(QStringLiteral("AudioVisualization1"));
    AudioVisualization1->setToolTip(QStringLiteral("Sound Visualization"));

    fitOptionsFont();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(OptionsPanel);
    row->addWidget(AudioVisualization1, 1);

    // activated, not currentIndexChanged: only the user's choice is sent.
    connect(ComboBox1, &QComboBox::activated, this, &RecordSoundPage::ComboBox1Click);
    connect(ComboBox2, &QComboBox::activated, this, &RecordSoundPage::ComboBox2Click);
    connect(m_radioButtons, &QButtonGroup::idClicked, this, &RecordSoundPage::RadioGroup1Click);
}

void RecordSoundPage::fitOptionsFont()
{
    // The panel keeps its fixed pixel layout; with a large desktop font its texts would be
    // cut, so the panel's font shrinks (down to 7 pt) until every caption fits.
    if (m_fitting)
        return;
    m_fitting = true;
    OptionsPanel->setFont(QFont());   // start from the inherited font
    QFont f = OptionsPanel->font();
    const int labelRoom = 104 - 8 - 2;
    auto fits = [&] {
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(Label1->text()) > labelRoom || fm.horizontalAdvance(Label2->text()) > labelRoom)
            return false;
        const QStyle *st = RadioGroup1->style();
        const int indicator = st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, RadioGroup1)
                              + st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, RadioGroup1) + 2;
        const QMargins m = RadioGroup1->layout()->contentsMargins();
        int columns = 0;
        for (int c = 0; c < 2; ++c) {
            int widest = 0;
            for (int r = 0; r < 3; ++r)
                widest = std::max(widest, fm.horizontalAdvance(m_radioButtons->button(c * 3 + r)->text()));
            columns += indicator + widest;
        }
        return columns + 2 + m.left() + m.right() + 4 <= RadioGroup1->width();
    };
    while (!fits() && f.pointSizeF() > 7.0) {
        f.setPointSizeF(std::max(7.0, f.pointSizeF() - 0.5));
        OptionsPanel->setFont(f);
    }
    for (QComboBox *box : {ComboBox1, ComboBox2})
        box->resize(113, box->sizeHint().height());
    // Labels sit level with their lists.
    for (auto [label, box] : {std::pair{Label1, ComboBox1}, std::pair{Label2, ComboBox2}}) {
        label->setGeometry(8, box->y(), 104 - 8, box->height());
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_fitting = false;
}

void RecordSoundPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitOptionsFont();
    QWidget::changeEvent(event);
}

QRadioButton *RecordSoundPage::radioItem(int index) const
{
    return qobject_cast<QRadioButton *>(m_radioButtons->button(index));
}

int RecordSoundPage::radioItemIndex() const { return m_radioButtons->checkedId(); }

void RecordSoundPage::InitSpectrumOptions()
{
    ComboBox1->setCurrentIndex(ComboBox1->findText(QStringLiteral("1024")));
    ComboBox2->setCurrentIndex(AudioVisualization1->GetWindowFFTType());
}

void RecordSoundPage::ComboBox1Click()
{
    bool ok = false;
    const int size = ComboBox1->currentText().toInt(&ok);
    if (ok)
        AudioVisualization1->SetWindowArraySize(size);
}

void RecordSoundPage::ComboBox2Click()
{
    AudioVisualization1->SetWindowFFTType(ComboBox2->currentIndex());
}

void RecordSoundPage::RadioGroup1Click()
{
    const int index = m_radioButtons->checkedId();
    if (index >= 0)
        AudioVisualization1->SetVisType(index);
}
