// The numeric-adjustment interface and the five adjustment templates the controller implements.
#pragma once

#include <cstdint>
#include <type_traits>

// Slot order is part of the binary interface the pages share: the seven operations below, then
// each template's own read and write, ReadAuto, WriteAuto and DoOneShot. Destructors are
// protected and non-virtual: nobody deletes through these.
class CAdjustment {
public:
    virtual void GetRealValue(double& value) = 0;
    virtual void GetIntValue(int32_t& value) = 0;
    virtual void SetRealValue(double value) = 0;
    virtual void SetIntValue(int32_t value) = 0;
    virtual void GetAuto(int32_t& flag) = 0;
    virtual void SetAuto(int32_t flag) = 0;
    virtual void OneShot() = 0;

protected:
    ~CAdjustment() = default;
};

// Forwards the seven operations to the derived template's own read and write by value type:
// a real adjustment reads 0 as an integer and ignores integer writes, and the other way round.
// Adds no virtual slot, so the derived template's own operations follow the seven directly.
template <class T, class Derived>
class CAdjustmentT : public CAdjustment {
    static_assert(std::is_same_v<T, double> || std::is_same_v<T, int32_t>,
                  "an adjustment is real (double) or integer (signed 32-bit)");
    static constexpr bool kReal = std::is_same_v<T, double>;

public:
    void GetRealValue(double& value) final {
        if constexpr (kReal) {
            value = self().ReadValue();
        } else {
            value = 0.0;
        }
    }
    void GetIntValue(int32_t& value) final {
        if constexpr (kReal) {
            value = 0;
        } else {
            value = self().ReadValue();
        }
    }
    void SetRealValue(double value) final {
        if constexpr (kReal) self().WriteValue(value);
    }
    void SetIntValue(int32_t value) final {
        if constexpr (!kReal) self().WriteValue(value);
    }
    void GetAuto(int32_t& flag) final { flag = self().ReadAuto(); }
    void SetAuto(int32_t flag) final { self().WriteAuto(flag); }
    void OneShot() final { self().DoOneShot(); }

protected:
    ~CAdjustmentT() = default;

private:
    Derived& self() { return static_cast<Derived&>(*this); }
};

template <class T>
class CExposureAdjustment : public CAdjustmentT<T, CExposureAdjustment<T>> {
public:
    virtual T GetExposure() = 0;
    virtual void SetExposure(T value) = 0;
    virtual int32_t ReadAuto() { return 0; }
    virtual void WriteAuto(int32_t) {}
    virtual void DoOneShot() {}

    // The own pair under the common names CAdjustmentT forwards to.
    T ReadValue() { return GetExposure(); }
    void WriteValue(T value) { SetExposure(value); }

protected:
    ~CExposureAdjustment() = default;
};

template <class T>
class CFrameRateAdjustment : public CAdjustmentT<T, CFrameRateAdjustment<T>> {
public:
    virtual T GetFrameTime() = 0;
    virtual void SetFrameTime(T value) = 0;
    virtual int32_t ReadAuto() { return 0; }
    virtual void WriteAuto(int32_t) {}
    virtual void DoOneShot() {}

    // The own pair under the common names CAdjustmentT forwards to.
    T ReadValue() { return GetFrameTime(); }
    void WriteValue(T value) { SetFrameTime(value); }

protected:
    ~CFrameRateAdjustment() = default;
};

template <class T>
class CCrosshairsXAdjustment : public CAdjustmentT<T, CCrosshairsXAdjustment<T>> {
public:
    virtual T GetCrosshairsX() = 0;
    virtual void SetCrosshairsX(T value) = 0;
    virtual int32_t ReadAuto() { return 0; }
    virtual void WriteAuto(int32_t) {}
    virtual void DoOneShot() {}

    // The own pair under the common names CAdjustmentT forwards to.
    T ReadValue() { return GetCrosshairsX(); }
    void WriteValue(T value) { SetCrosshairsX(value); }

protected:
    ~CCrosshairsXAdjustment() = default;
};

template <class T>
class CCrosshairsYAdjustment : public CAdjustmentT<T, CCrosshairsYAdjustment<T>> {
public:
    virtual T GetCrosshairsY() = 0;
    virtual void SetCrosshairsY(T value) = 0;
    virtual int32_t ReadAuto() { return 0; }
    virtual void WriteAuto(int32_t) {}
    virtual void DoOneShot() {}

    // The own pair under the common names CAdjustmentT forwards to.
    T ReadValue() { return GetCrosshairsY(); }
    void WriteValue(T value) { SetCrosshairsY(value); }

protected:
    ~CCrosshairsYAdjustment() = default;
};

template <class T>
class CCrosshairsVAdjustment : public CAdjustmentT<T, CCrosshairsVAdjustment<T>> {
public:
    virtual T GetCrosshairsValue() = 0;
    virtual void SetCrosshairsValue(T value) = 0;
    virtual int32_t ReadAuto() { return 0; }
    virtual void WriteAuto(int32_t) {}
    virtual void DoOneShot() {}

    // The own pair under the common names CAdjustmentT forwards to.
    T ReadValue() { return GetCrosshairsValue(); }
    void WriteValue(T value) { SetCrosshairsValue(value); }

protected:
    ~CCrosshairsVAdjustment() = default;
};
