#include "AdaptiveMutex.h"

#include <system_error>

namespace dwell {

AdaptiveMutex::AdaptiveMutex()
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
#ifdef PTHREAD_ADAPTIVE_MUTEX_INITIALIZER_NP
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ADAPTIVE_NP);
#endif // elsewhere an ordinary mutex, which is only slower
    const int error = pthread_mutex_init(&m_mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "pthread_mutex_init");
}

AdaptiveMutex::~AdaptiveMutex()
{
    pthread_mutex_destroy(&m_mutex);
}

void AdaptiveMutex::lock()
{
    if (const int error = pthread_mutex_lock(&m_mutex); error != 0)
        throw std::system_error(error, std::generic_category(), "pthread_mutex_lock");
}

bool AdaptiveMutex::try_lock()
{
    return pthread_mutex_trylock(&m_mutex) == 0;
}

void AdaptiveMutex::unlock()
{
    pthread_mutex_unlock(&m_mutex);
}

} // namespace dwell
