// The wheel control: sees its host window's wheel and middle-button input before the
// window's own handling, writes it as the window message it would have been, and raises
// MoveWheel and MButtonDown for what CtlEvent decodes. It never consumes the input.
#pragma once

#include "platform/FirstDelivery.h"

#include <QObject>
#include <QPointer>
#include <cstdint>

class QWidget;

class intelliMouse : public QObject {
    Q_OBJECT
public:
    // Created on its host form, it watches the host's input until it is destroyed.
    explicit intelliMouse(QWidget* hostForm);
    ~intelliMouse() override;

    // Raises the event one message of the host window stands for, if any.
    void CtlEvent(qint32 uMsg, qint32 wParam, qint32 lParam);

    std::int32_t RollMessage() const { return RollMessage_; }

Q_SIGNALS:
    void MoveWheel(int fwKeys, int zDelta, int Xpos, int Ypos);
    void MButtonDown(int fwKeys, int Xpos, int Ypos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> host_;
    std::int32_t RollMessage_ = 0;
    FirstDelivery firstDelivery_;
};
