// Values of GetErrorCode on the recorder and the player.
#pragma once

namespace engine::pulse {

enum ErrorCode : int {
    kNoError = 0,
    kNoServer = 1,       // no sound server answers
    kNoDevice = 2,       // the current device is not there
    kStreamFailed = 3,   // the server refused the stream (format, device busy)
    kDeviceLost = 4,     // the device or the server went away while running
};

}  // namespace engine::pulse
