// The one-shot command interface and the four command interfaces the controller implements.
#pragma once

// Slot order is part of the binary interface the Image page shares: Execute, then each class's
// own operation. Destructors are protected and non-virtual: nobody deletes through these.
class CCommand {
public:
    virtual void Execute() = 0;

protected:
    ~CCommand() = default;
};

class CStoreDefaultsCmd : public CCommand {
public:
    void Execute() final { StoreDefaults(); }
    virtual void StoreDefaults() = 0;

protected:
    ~CStoreDefaultsCmd() = default;
};

class CFactoryRestCmd : public CCommand {
public:
    void Execute() final { FactoryReset(); }
    virtual void FactoryReset() = 0;

protected:
    ~CFactoryRestCmd() = default;
};

class CResetCmd : public CCommand {
public:
    void Execute() final { Reset(); }
    virtual void Reset() = 0;

protected:
    ~CResetCmd() = default;
};

class CMaxROICmd : public CCommand {
public:
    void Execute() final { MaxROI(); }
    virtual void MaxROI() = 0;

protected:
    ~CMaxROICmd() = default;
};
