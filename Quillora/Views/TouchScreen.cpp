#include "Views/TouchScreen.h"

#include <QInputDevice>

#include <algorithm>

bool TouchScreen::present()
{
    const QList<const QInputDevice*> devices = QInputDevice::devices();
    return std::any_of(devices.begin(), devices.end(), [](const QInputDevice* device) {
        return device->type() == QInputDevice::DeviceType::TouchScreen;
    });
}
