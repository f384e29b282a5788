// The enumerated-setting interface and the nine setting interfaces the controller implements.
#pragma once

#include <cstdint>

// Slot order is part of the binary interface the pages share: GetValue, SetValue, then each
// class's own read and write. None of these classes is deleted through; their destructors are
// protected and non-virtual so that the controller's destructor opens the first base's table
// after its four slots.
class CGetSetSettings {
public:
    virtual int32_t GetValue() = 0;
    virtual void SetValue(int32_t value) = 0;

protected:
    ~CGetSetSettings() = default;
};

// Choosing the serial port; the port index itself is the value, -1 meaning none.
class CCLSERPort : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetPort(); }
    void SetValue(int32_t value) final { OpenPort(value); }
    virtual int32_t GetPort() = 0;
    virtual void OpenPort(int32_t index) = 0;

protected:
    ~CCLSERPort() = default;
};

class CImageMode : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetImageMode(); }
    void SetValue(int32_t value) final { SetImageMode(value); }
    virtual int32_t GetImageMode() = 0;
    virtual void SetImageMode(int32_t value) = 0;

protected:
    ~CImageMode() = default;
};

class CCorrectionMode : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetCorrectionMode(); }
    void SetValue(int32_t value) final { SetCorrectionMode(value); }
    virtual int32_t GetCorrectionMode() = 0;
    virtual void SetCorrectionMode(int32_t value) = 0;

protected:
    ~CCorrectionMode() = default;
};

class CFramerateMode : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetFramerateMode(); }
    void SetValue(int32_t value) final { SetFramerateMode(value); }
    virtual int32_t GetFramerateMode() = 0;
    virtual void SetFramerateMode(int32_t value) = 0;

protected:
    ~CFramerateMode() = default;
};

class CDigtialGain : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetDigitalGain(); }
    void SetValue(int32_t value) final { SetDigitalGain(value); }
    virtual int32_t GetDigitalGain() = 0;
    virtual void SetDigitalGain(int32_t value) = 0;

protected:
    ~CDigtialGain() = default;
};

class CCrossHairs : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetCrossHairs(); }
    void SetValue(int32_t value) final { SetCrossHairs(value); }
    virtual int32_t GetCrossHairs() = 0;
    virtual void SetCrossHairs(int32_t value) = 0;

protected:
    ~CCrossHairs() = default;
};

class CTriggerInterleave : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetTriggerInterleave(); }
    void SetValue(int32_t value) final { SetTriggerInterleave(value); }
    virtual int32_t GetTriggerInterleave() = 0;
    virtual void SetTriggerInterleave(int32_t value) = 0;

protected:
    ~CTriggerInterleave() = default;
};

class CTriggerMode : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetTriggerMode(); }
    void SetValue(int32_t value) final { SetTriggerMode(value); }
    virtual int32_t GetTriggerMode() = 0;
    virtual void SetTriggerMode(int32_t value) = 0;

protected:
    ~CTriggerMode() = default;
};

class CDecimation : public CGetSetSettings {
public:
    int32_t GetValue() final { return GetDecimation(); }
    void SetValue(int32_t value) final { SetDecimation(value); }
    virtual int32_t GetDecimation() = 0;
    virtual void SetDecimation(int32_t value) = 0;

protected:
    ~CDecimation() = default;
};
