// How the worker reaches the dialog, and nothing more.
//
// Trap: at "Exit" the dialog thread waits for the worker to end. Every call
// here must therefore return without waiting for the dialog thread; an
// implementation hands texts and datagrams over (copies, in order) and lets
// the dialog thread apply them later.
#pragma once

#include <cstdint>

#include "protocol/packet_format.h"
#include "worker/adapters.h"
#include "worker/job_progress.h"

namespace lumora {

class DialogLink {
 public:
  // Replaces the status line text; the text is copied.
  virtual void WriteStatus(const char* text) = 0;

  // The UDP tool port edit, read as an unsigned number (0 when it is empty or
  // holds no number) and written with a number.
  virtual unsigned ReadToolPortEdit() = 0;
  virtual void WriteToolPortEdit(unsigned port) = 0;

  // One received datagram, copied, with the adapter it arrived on, also
  // copied. The dialog decodes it into the table, lists it and keeps the
  // adapter for its slot; the worker's "OK" for it follows in order.
  virtual void HandOverDatagram(const uint8_t* data, int length, const Arrival& adapter) = 0;

  // Appends the configuration request's fields behind the magic. Returns the
  // adapter the target camera last answered on, out of which alone the
  // request is sent; 0 (no target, or its adapter unknown): sent unforced.
  virtual uint32_t AppendConfigurationFields(RequestFrame& frame) = 0;

  // After every sent request: empty the details panel and the list, zero the
  // table.
  virtual void ClearDevices() = 0;

  // An apply job's progress, copied; only the latest matters, and the one
  // with `finished` set is the job's last.
  virtual void HandOverJobProgress(const JobProgress& progress) = 0;

 protected:
  ~DialogLink() = default;
};

}  // namespace lumora
