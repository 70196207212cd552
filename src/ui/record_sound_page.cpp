#include "ui/record_sound_page.h"

#include "engine/dsp/spectrum_analysis.h"
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
    setObjectName(QStringLiteral("recordSoundPage"));
    m_optionsPanel = new QWidget(this);
    m_optionsPanel->setObjectName(QStringLiteral("spectrumOptionsPanel"));
    m_optionsPanel->setFixedWidth(225);

    //: the number of samples each analysis of the spectrum takes
    m_sizeLabel = new QLabel(tr("FFTArraySize"), m_optionsPanel);
    m_sizeLabel->setObjectName(QStringLiteral("spectrumSizeLabel"));
    m_sizeLabel->move(8, 16);
    m_sizeList = new QComboBox(m_optionsPanel);
    m_sizeList->setObjectName(QStringLiteral("spectrumSizeList"));
    m_sizeList->addItems({QStringLiteral("256"), QStringLiteral("1024"), QStringLiteral("4096")});
    m_sizeList->setCurrentIndex(1);
    m_sizeList->setGeometry(104, 16, 113, m_sizeList->sizeHint().height());
    m_sizeLabel->setBuddy(m_sizeList);

    //: the window function the spectrum's analysis applies
    m_windowLabel = new QLabel(tr("FFTWindowType"), m_optionsPanel);
    m_windowLabel->setObjectName(QStringLiteral("spectrumWindowLabel"));
    m_windowLabel->move(8, 48);
    m_windowList = new QComboBox(m_optionsPanel);
    m_windowList->setObjectName(QStringLiteral("spectrumWindowList"));
    // The items' order is the WindowFFTType they stand for; the names after "None" are those of
    // the window functions.
    m_windowList->addItems({tr("None", "no window function"), tr("Welch"), tr("Barlett"), tr("Hanning"),
                            tr("Hamming")});
    m_windowList->setCurrentIndex(0);
    m_windowList->setGeometry(104, 48, 113, m_windowList->sizeHint().height());
    m_windowLabel->setBuddy(m_windowList);

    //: how the spectrum is drawn
    m_styleGroup = new QGroupBox(tr("VisType"), m_optionsPanel);
    m_styleGroup->setObjectName(QStringLiteral("spectrumStyleGroup"));
    m_styleGroup->setGeometry(8, 76, 209, 93);
    auto *grid = new QGridLayout(m_styleGroup);
    grid->setContentsMargins(6, 2, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    m_styleButtons = new QButtonGroup(this);
    // The names of the spectrum's drawing styles, in the order of its VisType.
    const QStringList items = {tr("vtFFTAnalog"), tr("vtFFTLinear"), tr("vtFFTNormal"),
                               tr("vtFFTFire"),   tr("vtFFTGlass"),  tr("vtFFTKryptonite")};
    // Two columns, filled top to bottom: items 0..2 left, 3..5 right.
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], m_styleGroup);
        m_styleButtons->addButton(button, i);
        grid->addWidget(button, i % 3, i / 3);
    }
    m_styleButtons->button(2)->setChecked(true);

    m_spectrum = new SpectrumView(this);
    m_spectrum->setObjectName(QStringLiteral("spectrumView"));
    m_spectrum->setToolTip(tr("Sound Visualization"));
    m_spectrum->setAccessibleName(tr("Spectrum"));
    m_spectrum->setAccessibleDescription(
        tr("The loudness of the sound at each frequency, low at the left, high at the right, as it is recorded "
           "or played"));
    m_analyser = new engine::dsp::SpectrumAnalyser(this);
    m_analyser->setObjectName(QStringLiteral("spectrumAnalyser"));
    m_spectrum->setStyleKind(SpectrumView::Kind(m_analyser->GetVisType()));
    connect(m_analyser, &engine::dsp::SpectrumAnalyser::levelsReady, m_spectrum,
            [this](const engine::dsp::SpectrumLevels &levels) {
                spectrum::SpectrumFrame frame;
                frame.left = levels.left;
                frame.right = levels.right;
                frame.sampleRate = levels.sampleRate;
                frame.size = levels.size;
                m_spectrum->showFrame(std::move(frame));
            });
    connect(m_analyser, &engine::dsp::SpectrumAnalyser::visTypeChanged, m_spectrum,
            [this](int type) { m_spectrum->setStyleKind(SpectrumView::Kind(type)); });

    fitOptionsFont();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_optionsPanel);
    row->addWidget(m_spectrum, 1);

    // activated, not currentIndexChanged: only the user's choice is sent.
    connect(m_sizeList, &QComboBox::activated, this, &RecordSoundPage::chooseSize);
    connect(m_windowList, &QComboBox::activated, this, &RecordSoundPage::chooseWindow);
    connect(m_styleButtons, &QButtonGroup::idClicked, this, &RecordSoundPage::chooseStyle);
}

void RecordSoundPage::fitOptionsFont()
{
    // The panel keeps its fixed pixel layout; with a large desktop font its texts would be
    // cut, so the panel's font shrinks (down to 7 pt) until every caption fits.
    if (m_fitting)
        return;
    m_fitting = true;
    m_optionsPanel->setFont(QFont());   // start from the inherited font
    QFont f = m_optionsPanel->font();
    const int labelRoom = 104 - 8 - 2;
    auto fits = [&] {
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(m_sizeLabel->text()) > labelRoom || fm.horizontalAdvance(m_windowLabel->text()) > labelRoom)
            return false;
        const QStyle *st = m_styleGroup->style();
        const int indicator = st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, m_styleGroup)
                              + st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, m_styleGroup) + 2;
        const QMargins m = m_styleGroup->layout()->contentsMargins();
        int columns = 0;
        for (int c = 0; c < 2; ++c) {
            int widest = 0;
            for (int r = 0; r < 3; ++r)
                widest = std::max(widest, fm.horizontalAdvance(m_styleButtons->button(c * 3 + r)->text()));
            columns += indicator + widest;
        }
        return columns + 2 + m.left() + m.right() + 4 <= m_styleGroup->width();
    };
    while (!fits() && f.pointSizeF() > 7.0) {
        f.setPointSizeF(std::max(7.0, f.pointSizeF() - 0.5));
        m_optionsPanel->setFont(f);
    }
    for (QComboBox *box : {m_sizeList, m_windowList})
        box->resize(113, box->sizeHint().height());
    // Labels sit level with their lists.
    for (auto [label, box] : {std::pair{m_sizeLabel, m_sizeList}, std::pair{m_windowLabel, m_windowList}}) {
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

QRadioButton *RecordSoundPage::styleButton(int index) const
{
    return qobject_cast<QRadioButton *>(m_styleButtons->button(index));
}

int RecordSoundPage::styleIndex() const { return m_styleButtons->checkedId(); }

void RecordSoundPage::initSpectrumOptions()
{
    m_sizeList->setCurrentIndex(m_sizeList->findText(QStringLiteral("1024")));
    m_windowList->setCurrentIndex(m_analyser->GetWindowFFTType());
}

void RecordSoundPage::chooseSize()
{
    bool ok = false;
    const int size = m_sizeList->currentText().toInt(&ok);
    if (ok) {
        m_analyser->SetWindowArraySize(size);
        emit spectrumSizeChanged();
    }
}

void RecordSoundPage::chooseWindow()
{
    m_analyser->SetWindowFFTType(m_windowList->currentIndex());
}

void RecordSoundPage::chooseStyle()
{
    const int index = m_styleButtons->checkedId();
    if (index >= 0)
        m_analyser->SetVisType(index);
}
