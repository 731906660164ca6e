#pragma once

#include <pthread.h>

namespace vantrel::platform {

// A mutex with priority inheritance: while a real-time thread waits for it, the thread holding
// it runs at that thread's priority. An ordinary thread pre-empted by a busy machine in the
// middle of a short step therefore never keeps a real-time thread waiting behind the machine's
// other work. Used like std::mutex.
class InheritingMutex {
 public:
  InheritingMutex() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
    pthread_mutex_init(&mutex_, &attributes);
    pthread_mutexattr_destroy(&attributes);
  }
  ~InheritingMutex() { pthread_mutex_destroy(&mutex_); }
  InheritingMutex(const InheritingMutex&) = delete;
  InheritingMutex& operator=(const InheritingMutex&) = delete;

  void lock() { pthread_mutex_lock(&mutex_); }
  bool try_lock() { return pthread_mutex_trylock(&mutex_) == 0; }
  void unlock() { pthread_mutex_unlock(&mutex_); }

 private:
  pthread_mutex_t mutex_;
};

}  // namespace vantrel::platform
