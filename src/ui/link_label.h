// A text link: blue without underline, red and underlined while the pointer is over it, a
// pointing-hand cursor; a left click released over it is a click. The keyboard reaches it
// too: Enter or Space on it is a click, and a focus frame shows where the keyboard is. On a
// dark window the blue and the red are lighter ones, so that the link stays legible.
#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString &text, const QUrl &url, QWidget *parent = nullptr);

    QUrl url() const { return m_url; }
    bool isHovered() const { return m_hovered; }

    static inline const QColor NormalColor = QColor(0x00, 0x00, 0xff);
    static inline const QColor HoverColor = QColor(0xff, 0x00, 0x00);
    // The same two on a dark window.
    static inline const QColor DarkNormalColor = QColor(0x6c, 0xb4, 0xff);
    static inline const QColor DarkHoverColor = QColor(0xff, 0x80, 0x80);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setHovered(bool on);

    QUrl m_url;
    bool m_hovered = false;
    bool m_pressed = false;
};
