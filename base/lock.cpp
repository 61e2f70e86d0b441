#include "base/lock.h"

#include <sched.h>

lock::~lock() = default;

void atom_lock::acquire()
{
    while (m_flag.exchange(1, std::memory_order_seq_cst) == 1)
        sched_yield();
}

void atom_lock::release()
{
    m_flag.exchange(0, std::memory_order_seq_cst);
}

bool atom_lock::tryAcquire()
{
    return m_flag.exchange(1, std::memory_order_seq_cst) == 0;
}
