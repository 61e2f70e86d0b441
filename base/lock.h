#pragma once

#include <atomic>
#include <cstdint>

class lock
{
public:
    virtual ~lock();
    virtual void acquire() = 0;
    virtual void release() = 0;
    virtual bool tryAcquire() = 0;
};

// Busy-wait lock on a single byte; held only for very short sections.
class atom_lock : public lock
{
public:
    void acquire() override;
    void release() override;
    bool tryAcquire() override;

private:
    std::atomic<std::uint8_t> m_flag { 0 };
};
