// Everything the dialog hands the worker, in one object under one mutex,
// with the wake that ends the worker's wait: the tool port edit's value, the
// request to send (a search, or a configuration request with its fields and
// the adapter its target answered on), an offered apply job, a stop of that
// job, and the program's stop. The worker takes it all in one place, at the
// start of each pass, so no word can fall between two of them (a stop asked
// before the worker took its job stops that job).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "net/net_socket.h"
#include "protocol/packet_format.h"
#include "provisioning/apply_job.h"

namespace lumora {

enum PendingRequest : int32_t {
  kRequestNone = 0,
  kRequestSearch = 1,
  kRequestConfiguration = 2,
};

// What the worker takes at once.
struct InboxMail {
  bool stop = false;  // the program ends: stays asked once asked
  unsigned toolPortEdit = 0;  // as GetDlgItemInt reads the edit: 0 when empty or no number
  PendingRequest request = kRequestNone;
  std::vector<uint8_t> configurationFields;  // behind the magic, with kRequestConfiguration
  uint32_t configurationAdapter = 0;         // 0: none known, sent unforced
  std::unique_ptr<provisioning::ApplyJob> job;
  bool stopJob = false;  // for the job taken now or the one running
  // Who answers on these addresses: the worker looks them up and hands the
  // answer back under `lookupId`. A later ask replaces one not yet taken.
  // With `searchFirst` it searches the site first and hands over whom it
  // found along with the answer.
  bool lookup = false;
  bool lookupSearchFirst = false;
  uint32_t lookupId = 0;
  std::vector<uint32_t> lookupAddresses;  // network byte order
};

// Puts a configuration request's fields behind its magic, as far as the
// frame has room.
void AppendConfigurationFields(const std::vector<uint8_t>& fields, RequestFrame& frame);

class WorkerInbox {
 public:
  WorkerInbox() = default;
  WorkerInbox(const WorkerInbox&) = delete;
  WorkerInbox& operator=(const WorkerInbox&) = delete;

  // Empties the inbox and opens the wake; false when it cannot be opened
  // (the worker could then never be told to stop).
  bool Open();
  void Close();

  // Dialog side. Each but the tool port wakes the worker at once. A request
  // takes the one slot: a later one replaces an earlier one not yet taken.
  void SetToolPortEdit(unsigned value);
  void AskSearch();
  void AskConfiguration(const uint8_t* fields, std::size_t size, uint32_t adapter);
  void OfferJob(std::unique_ptr<provisioning::ApplyJob> job);
  void AskLookup(uint32_t id, std::vector<uint32_t> addresses, bool searchFirst = false);
  void StopJob();
  void Stop();

  // What is waiting, for the dialog's own checks and the tests.
  PendingRequest pendingRequest() const;
  bool stopAsked() const;

  // Worker side: everything waiting, leaving the tool port and the stop.
  InboxMail Take();
  net::WakeSignal& wake() { return wake_; }

 private:
  void Wake();

  mutable std::mutex mutex_;  // guards mail_
  InboxMail mail_;
  net::WakeSignal wake_;
};

}  // namespace lumora
