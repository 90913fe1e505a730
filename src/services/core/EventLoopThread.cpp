#include "services/core/EventLoopThread.h"

namespace kivcore::threads {

std::shared_ptr<EventLoopThread> EventLoopThread::Create() {
  return std::shared_ptr<EventLoopThread>(new EventLoopThread());
}

EventLoopThread::EventLoopThread()
    : loop_(std::make_shared<RunLoop>()), thread_([loop = loop_] { loop->Run(); }) {}

EventLoopThread::~EventLoopThread() {
  // Quit is queued behind what is there already, so queued work still runs.
  loop_->Post([loop = loop_] { loop->Quit(); });
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();  // the last owner let go on the loop itself
  } else {
    thread_.join();
  }
}

bool EventLoopThread::RunsOnCurrentThread() const {
  return thread_.get_id() == std::this_thread::get_id();
}

void EventLoopThread::Post(Task f) { loop_->Post(std::move(f)); }

}  // namespace kivcore::threads
