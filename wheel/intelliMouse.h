// The wheel control: sees its host window's wheel and middle-button input before the
// window's own handling, hands it to the message module as window messages, and raises
// MoveWheel and MButtonDown for what CtlEvent decodes. It never consumes the input. Only
// one control may be alive at a time; the newest takes the messages.
#pragma once

#include "wheel/FirstDelivery.h"

#include <QObject>
#include <QPointer>
#include <cstdint>

class QWidget;

class intelliMouse : public QObject {
    Q_OBJECT
public:
    // Created on its host form: set up, then hooked onto the host's window.
    explicit intelliMouse(QWidget* hostForm);
    ~intelliMouse() override;

    // Called by the message module for every message of the hooked window.
    Q_INVOKABLE void CtlEvent(qint32 hWndX, qint32 uMsg, qint32 wParam, qint32 lParam);

    std::int32_t HookedWnd() const { return HookedWnd_; }
    std::int32_t RollMessage() const { return RollMessage_; }

Q_SIGNALS:
    void MoveWheel(int fwKeys, int zDelta, int Xpos, int Ypos);
    void MButtonDown(int fwKeys, int Xpos, int Ypos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserControl_Initialize();
    void UserControl_ReadProperties();
    void UserControl_Terminate();
    void HookWindow(std::int32_t window);
    void UnhookWindow();

    QPointer<QWidget> host_;
    // The host's window as the message module knows it.
    std::int32_t hostWindow_ = 0;
    std::int32_t HookedWnd_ = 0;
    std::int32_t RollMessage_ = 0;
    FirstDelivery firstDelivery_;
};
