// The dialog's words to the worker, under one lock.
#include "worker/inbox.h"

#include <cstring>
#include <utility>

namespace lumora {

void AppendConfigurationFields(const std::vector<uint8_t>& fields, RequestFrame& frame) {
  std::size_t room = kRequestSize - frame.cursor;
  std::size_t size = fields.size() < room ? fields.size() : room;
  if (size > 0) std::memcpy(frame.bytes + frame.cursor, fields.data(), size);
  frame.cursor += size;
}

bool WorkerInbox::Open() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_ = InboxMail{};
  }
  return net::OpenWake(wake_);
}

void WorkerInbox::Close() { net::CloseWake(wake_); }

// Signalled after the lock is let go, so the woken worker finds the word.
void WorkerInbox::Wake() { net::Signal(wake_); }

void WorkerInbox::SetToolPortEdit(unsigned value) {
  std::lock_guard<std::mutex> lock(mutex_);
  mail_.toolPortEdit = value;
}

void WorkerInbox::AskSearch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.request = kRequestSearch;
  }
  Wake();
}

void WorkerInbox::AskConfiguration(const uint8_t* fields, std::size_t size, uint32_t adapter) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.request = kRequestConfiguration;
    mail_.configurationFields.assign(fields, fields + size);
    mail_.configurationAdapter = adapter;
  }
  Wake();
}

void WorkerInbox::OfferJob(std::unique_ptr<provisioning::ApplyJob> job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.job = std::move(job);
    mail_.stopJob = false;  // a stop asked before this job was offered is not its
  }
  Wake();
}

void WorkerInbox::AskLookup(uint32_t id, std::vector<uint32_t> addresses, bool searchFirst) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.lookup = true;
    mail_.lookupSearchFirst = searchFirst;
    mail_.lookupId = id;
    mail_.lookupAddresses = std::move(addresses);
  }
  Wake();
}

void WorkerInbox::StopJob() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.stopJob = true;
  }
  Wake();
}

void WorkerInbox::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mail_.stop = true;
  }
  Wake();
}

PendingRequest WorkerInbox::pendingRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mail_.request;
}

bool WorkerInbox::stopAsked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mail_.stop;
}

InboxMail WorkerInbox::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  InboxMail taken = std::move(mail_);
  mail_ = InboxMail{};
  mail_.stop = taken.stop;
  mail_.toolPortEdit = taken.toolPortEdit;
  return taken;
}

}  // namespace lumora
