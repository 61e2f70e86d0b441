#pragma once

#include "base/lock.h"

#include <atomic>

// Process-wide single instance of T, created on first use from any thread and
// released explicitly (the main window releases the settings when it closes).
template<class T> class singleton : public T
{
public:
    static T *instance()
    {
        singleton *current = s_instance.load(std::memory_order_acquire);
        if (current)
            return current;
        s_lock.acquire();
        current = s_instance.load(std::memory_order_relaxed);
        if (!current) {
            current = new singleton;
            s_instance.store(current, std::memory_order_release);
        }
        s_lock.release();
        return current;
    }

    static void release()
    {
        if (!s_instance.load(std::memory_order_acquire))
            return;
        s_lock.acquire();
        delete s_instance.exchange(nullptr, std::memory_order_acq_rel);
        s_lock.release();
    }

    ~singleton() override = default;

private:
    singleton() = default;

    static std::atomic<singleton *> s_instance;
    static atom_lock s_lock;
};

template<class T> std::atomic<singleton<T> *> singleton<T>::s_instance { nullptr };
template<class T> atom_lock singleton<T>::s_lock;
