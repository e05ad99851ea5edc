#include "tools/view/host_worker.h"

#include <exception>
#include <iostream>

#include <nlohmann/json.hpp>

namespace twinfind::tool::view {
namespace {

// What went wrong inside is told on the terminal, where the user started the view; the page
// hears only that it did.
std::string InternalError(const std::exception& e) {
  std::cerr << "twinfind view: internal error: " << e.what() << std::endl;
  return nlohmann::json{{"ok", false}, {"error", "internal error: the action was not carried out"}}
      .dump();
}

}  // namespace

HostWorker::HostWorker(Replies replies) : replies_(std::move(replies)) {}

HostWorker::~HostWorker() { Stop(); }

void HostWorker::Start() {
  thread_ = std::thread([this] { Loop(); });
}

std::string HostWorker::Run(Kind kind, std::function<std::string()> run,
                            std::function<Offer()> offer) {
  auto job = std::make_shared<Job>();
  job->kind = kind;
  job->run = std::move(run);
  job->offer = std::move(offer);
  std::future<std::string> reply = job->reply.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || !thread_.joinable()) return kStopped;
    queue_.push_back(job);
  }
  ready_.notify_one();
  return reply.get();
}

void HostWorker::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  ready_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  // Whatever is still queued hears that the view stopped.
  std::deque<std::shared_ptr<Job>> left;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    left.swap(queue_);
  }
  for (const auto& job : left) Answer(job, kStopped);
}

std::shared_ptr<HostWorker::Job> HostWorker::Pop() {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (stopping_) return nullptr;
  std::shared_ptr<Job> job = queue_.front();
  queue_.pop_front();
  return job;
}

void HostWorker::Answer(const std::shared_ptr<Job>& job, std::string body) {
  if (job->answered) return;
  job->answered = true;
  job->reply.set_value(std::move(body));
}

void HostWorker::Loop() {
  while (const std::shared_ptr<Job> job = Pop()) {
    std::string body;
    try {
      if (job->kind == Kind::kDialog) {
        body = replies_.noDialog();
      } else {
        pending_ = job;
        body = job->run();
      }
    } catch (const std::exception& e) {
      body = InternalError(e);
    }
    // The reply goes to the job the command acted on last: this one, or the last action on a
    // dialog it opened.
    const std::shared_ptr<Job> answered = pending_ ? pending_ : job;
    pending_.reset();
    if (job->kind == Kind::kDialog) {
      Answer(job, std::move(body));
    } else {
      Answer(answered, std::move(body));
    }
  }
}

std::optional<std::u16string> HostWorker::NextDialogAction() {
  // The dialog is shown now: the action that opened it, or the one it has just carried out,
  // hears how things stand.
  if (pending_) {
    Answer(pending_, replies_.state());
    pending_.reset();
  }
  while (const std::shared_ptr<Job> job = Pop()) {
    try {
      switch (job->kind) {
        case Kind::kRead:
          Answer(job, job->run());
          break;
        case Kind::kCommand:
          Answer(job, replies_.busy());
          break;
        case Kind::kDialog: {
          Offer offer = job->offer();
          if (auto* action = std::get_if<std::u16string>(&offer)) {
            pending_ = job;
            return *action;
          }
          Answer(job, std::get<std::string>(offer));
          break;
        }
      }
    } catch (const std::exception& e) {
      Answer(job, InternalError(e));
    }
  }
  return std::nullopt;  // stopping: the dialog closes as cancelled
}

}  // namespace twinfind::tool::view
