#pragma once

#include <QLabel>

namespace platform {

// A label that answers a click, like a link drawn as plain text. Given a focus policy, it
// shows the focus as the desktop's list rows do, with a focus frame.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace platform
