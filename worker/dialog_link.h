// How the worker reaches the dialog, and nothing more: every call goes
// outwards (what the dialog hands the worker comes through its inbox).
//
// Trap: at "Exit" the dialog thread waits for the worker to end. Every call
// here must therefore return without waiting for the dialog thread; an
// implementation hands texts and datagrams over (copies, in order) and lets
// the dialog thread apply them later.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/adapters.h"
#include "net/neighbour_table.h"
#include "protocol/arrival.h"
#include "provisioning/found_camera.h"
#include "provisioning/job_progress.h"

namespace lumora {

// The worker's answer to the dialog's look-up `id`: one per address asked,
// in order, or the reason none could be had. A look-up asked with a search
// first carries the cameras that search found (`searched`), and why it
// could not hear them all (`searchError`).
struct LookupAnswer {
  uint32_t id = 0;
  std::vector<net::AddressLookup> answers;
  std::string error;
  bool searched = false;
  std::vector<provisioning::FoundCamera> cameras;
  std::string searchError;
};

class DialogLink {
 public:
  // Replaces the status line text; the text is copied.
  virtual void WriteStatus(const char* text) = 0;

  // The UDP tool port edit, written with a number (the default, where the
  // edit held none at a search).
  virtual void WriteToolPortEdit(unsigned port) = 0;

  // One received datagram, copied, with its arrival (the adapter it came in
  // on and its sender), also copied. The dialog decodes it into the table,
  // lists it and keeps the arrival for its slot; the worker's "OK" for it
  // follows in order.
  virtual void HandOverDatagram(const uint8_t* data, int length, const Arrival& arrival) = 0;

  // After every sent request: empty the details panel and the list, zero the
  // table.
  virtual void ClearDevices() = 0;

  // An apply job's progress, copied; only the latest matters, and the one
  // with `finished` set is the job's last.
  virtual void HandOverJobProgress(const provisioning::JobProgress& progress) = 0;

  // Every adapter of the PC, as listed at a search or a look-up, copied:
  // the addresses and gateways no camera may be given.
  virtual void HandOverAdapters(const std::vector<Adapter>& adapters) { (void)adapters; }

  // A look-up's answer, copied.
  virtual void HandOverLookup(const LookupAnswer& answer) { (void)answer; }

 protected:
  ~DialogLink() = default;
};

}  // namespace lumora
