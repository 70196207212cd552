#include "real_window.h"

#include "widgets/time_display.h"

#include <QElapsedTimer>

namespace e2e {

qint64 RealWindow::displayedMs() const
{
    const TimeDisplay *t = window->findChild<TimeDisplay *>(QStringLiteral("timeDisplay"));
    return ((qint64(t->hours()) * 60 + t->minutes()) * 60 + t->seconds()) * 1000 + t->milliseconds();
}

bool RealWindow::waitDisplayed(double seconds, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (displayedMs() < qint64(seconds * 1000)) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

Decoded decode(const QString &path)
{
    Decoded d;
    auto factory = engine::createEngineFactory();
    auto file = factory->createFile(QStringLiteral("probe"));
    file->SetActive(true);
    file->Open(path, 0, 1);
    if (file->GetErrorCode() != 0)
        return d;
    d.rate = file->GetFormatValueA();
    d.channels = file->GetFormatValueB();
    for (;;) {
        const engine::SampleArray block = file->ReadArray(44100);
        if (block.isEmpty())
            break;
        const std::vector<float> f = block.toFloat();
        d.samples.insert(d.samples.end(), f.begin(), f.end());
    }
    file->Close();
    return d;
}

}  // namespace e2e
