#include "platform/NullServices.h"

#include "platform/audio/OpenAlDevice.h"

namespace tavi::platform {

namespace {

class NullPanel final : public PanelServices {
public:
    bool isPanelWindowOpen(int32_t) override { return false; }
    void bindNamedBlock(TokenRecord& record, const char*) override {
        record.valuePointer = nullptr;
    }
    void lookupToken(TokenRecord& record) override { record.value = 0.0; }
    void panelShutdown() override {}
    void closePanelWindow(int32_t) override {}
    void openPanelWindow(int32_t) override {}
    int32_t registerNamedVariable(const char*) override { return -1; }
    double readNamedVariable(int32_t) override { return 0.0; }
    void writeNamedVariable(int32_t, double) override {}
    bool executeCalculatorCode(const char*, double*, int32_t*, std::string*) override {
        return false;
    }
    int32_t unitsId(const char*) override { return -1; }
    int32_t aircraftVariableId(const char*) override { return -1; }
    double readAircraftVariable(int32_t, int32_t, int32_t) override { return 0.0; }
    void* interfaceByName(const char*) override { return nullptr; }
    void sendKeyEvent(uint32_t, uint32_t) override {}
    void registerKeyEventHandler(KeyEventHandler, void*) override {}
    void unregisterKeyEventHandler(KeyEventHandler, void*) override {}
};

class NullHost final : public HostServices {
public:
    uint32_t tickCountMs() override { return 0; }
    std::string loadedModulePath(const char*) override { return {}; }
    std::string executablePath() override { return {}; }
    TimerId setTimer(uint32_t, TimerProc) override { return 0; }
    void killTimer(TimerId) override {}
    WindowHandle findWindowByClass(const char*) override { return 0; }
    ThreadId windowThread(WindowHandle) override { return 0; }
    GuiThreadInfo guiThreadInfo(ThreadId) override { return {}; }
    WindowHandle lastActivePopup(WindowHandle window) override { return window; }
    HookHandle installKeyboardHook(KeyboardHookProc, ThreadId) override { return 0; }
    void removeKeyboardHook(HookHandle) override {}
    intptr_t callNextHook(HookHandle, int32_t, uint32_t, uint32_t) override { return 0; }
    std::optional<uint32_t> joystickButtons(int32_t) override { return std::nullopt; }
    std::shared_ptr<audio::AudioDevice> openSoundOutput(audio::AudioResult& result) override {
        return audio::openOutputDevice(result);
    }
};

class NullSimConnect final : public SimConnect {
public:
    HResult open(SimConnectHandle* handle, const char*) override {
        *handle = 0;
        return kResultFail;
    }
    HResult close(SimConnectHandle) override { return kResultFail; }
    HResult subscribeToSystemEvent(SimConnectHandle, uint32_t, const char*) override {
        return kResultFail;
    }
    HResult addToDataDefinition(SimConnectHandle, uint32_t, const char*, const char*, int32_t,
                                float, uint32_t) override {
        return kResultFail;
    }
    HResult requestSystemState(SimConnectHandle, uint32_t, const char*) override {
        return kResultFail;
    }
    HResult mapClientEventToSimEvent(SimConnectHandle, uint32_t, const char*) override {
        return kResultFail;
    }
    HResult addClientEventToNotificationGroup(SimConnectHandle, uint32_t, uint32_t, bool) override {
        return kResultFail;
    }
    HResult setNotificationGroupPriority(SimConnectHandle, uint32_t, uint32_t) override {
        return kResultFail;
    }
    HResult callDispatch(SimConnectHandle, DispatchProc, void*) override { return kResultFail; }
    HResult setDataOnSimObject(SimConnectHandle, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                               const void*) override {
        return kResultFail;
    }
    HResult transmitClientEvent(SimConnectHandle, uint32_t, uint32_t, uint32_t, uint32_t,
                                uint32_t) override {
        return kResultFail;
    }
    HResult weatherRequestInterpolatedObservation(SimConnectHandle, uint32_t, float, float,
                                                  float) override {
        return kResultFail;
    }
};

} // namespace

PanelServices& nullPanelServices() {
    static NullPanel panel;
    return panel;
}

HostServices& nullHostServices() {
    static NullHost host;
    return host;
}

SimConnect& nullSimConnect() {
    static NullSimConnect simConnect;
    return simConnect;
}

} // namespace tavi::platform
