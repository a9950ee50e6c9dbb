// The end of --help; the options' own lines come from their declarations.
#include "tools/camsim/options.h"

namespace camsim {

const char kHelpFooter[] = R"(
KEYS (of --camera, and of each line of a --config file) is
key=value,key=value,... with keys
  name=TEXT (<=16 bytes)  version=TEXT (<=16 bytes)
  mac=001A2B3C4D01 (12 hex digits)
  ip=A.B.C.D  mask=A.B.C.D  gateway=A.B.C.D
  http=PORT  audio=PORT (0..65535)
  assign=FFFF01FF (8 hex digits: the 4 ip-assignment bytes)
  account=TEXT  password=TEXT (PPPoE, <=32 bytes each)
Any key may be left out; a text may spell a byte as \xHH.

At most 1000 cameras in all. Camera number N (1-based, in the order given)
defaults to: name Camera-N, version V2.6.0, mac 00 1A 2B 3C 4D NN (NN = N;
past 255 the carry goes into the 4D byte), ip 10.77.0.(100+N) (carrying into
the third byte past 155), mask 255.255.255.0, gateway 10.77.0.1, http 80,
audio 8000, assign FFFFFFFF (static), empty PPPoE account and password.
Without any camera option there is one default camera.

The sends at start go out after the start line, from the reply socket to
255.255.255.255:<reply-port>.

On start camsim prints one line on stdout, "camsim: N cameras, listening on
port P", and flushes it. Configuration changes are reported on stdout too.
Exit status: 0 on a signal, --max-seconds or --once; 1 when a socket cannot
be set up; 2 on a bad option or value (the message names it).

Datagrams
  Every datagram is the magic "KV280", then fields: tag (1 byte), length
  (1 byte), value (length bytes); a tag 0 ends the fields.
  Tags: 0x10 MAC (6), 0x11 IP, 0x12 mask, 0x13 gateway (4 bytes each, network
  order), 0x14 HTTP port, 0x15 audio port, 0x1F IP assignment (4 flag bytes),
  0x20 name (16), 0x21 version (16), 0x22 PPPoE account (32), 0x23 PPPoE
  password (32).

  A received datagram is
    - ignored (but logged) without the magic;
    - ignored when it carries the magic and no field (nothing after the magic,
      or a tag 0 right after it);
    - a CONFIGURATION request when its first field's tag is 0x10;
    - a SEARCH otherwise: every camera replies once (unless `answer off`).

  A reply is the magic and then, in this order: 0x10 (6, raw MAC), 0x20 name
  (16, zero-padded; a 16-byte name has no terminator), 0x21 version (16),
  0x11, 0x12, 0x13 (4, address bytes in network order), 0x14 and 0x15 (2, the
  port as unsigned 16 bits, LEAST significant byte first: 80 = 50 00, 8080 =
  90 1F), 0x1F (4, the ip-assignment bytes as configured), 0x22 and 0x23 (32,
  zero-padded). Nothing follows the last field: 149 bytes in all. Replies are
  sent with SO_BROADCAST to 255.255.255.255:<reply-port>.

  A configuration request's first 0x10 field is the target camera's MAC; a
  request naming none of camsim's cameras is ignored (every camera with that
  MAC takes it). Fields are walked by their length bytes up to a tag 0 or the
  end of the datagram; a field whose value was not wholly received ends the
  walk unread. Fields taken:
    second 0x10        the new MAC (6 bytes)
    0x20               name: the value up to its first zero, cut at 16 bytes
    0x11 0x12 0x13     the 4 address bytes
    0x14 0x15          port as decimal text in a 5-byte value ("8080",
                       "08080"): its leading digits, low 16 bits kept; no
                       leading digit gives 0
    0x1F               the 4 flag bytes, stored as given
    0x22 0x23          PPPoE texts, cut at 32 bytes
  Addresses, MAC and flags shorter than their width are skipped. Fields the
  request does not carry, the version and unknown tags leave the camera as it
  was. Later searches answer with the new values.

Control channel (--control P): one text command per datagram, one reply
datagram back to the sender.
  ping                  -> pong
  log-count             -> datagrams received on camera sockets since start or
                           the last log-clear (decimal)
  log-get I             -> entry I (0-based): <local-port> <sender-port>
                           <length> <hex>, or "err no such entry". The hex
                           stops after 29968 bytes with "..."; at most 100000
                           entries (64 MiB) are kept, log-count goes on
  log-clear             -> ok
  send S HEX            -> send HEX to 255.255.255.255:<reply-port> from a
                           socket bound to local port S (0 = the listening
                           socket); the socket stays open and what it
                           receives is logged and handled like the others
                           -> ok, or err <reason>
  send-size S N         -> the same with N bytes (0..65000; magic first when
                           N >= 5, zeros after) -> ok
  send-crafted S KIND   -> the same with a crafted KIND (see --send-crafted)
  flood T               -> start a flood of T seconds (1..60), as
                           --flood-seconds, without blocking the channel -> ok
  flood-stop            -> ok
  cameras [FIRST]       -> one line per camera from FIRST (default 0):
                           mac=... name=... ip=... mask=... gateway=... http=...
                           audio=... assign=... account=... password=...
                           version=... (values as for --camera; blanks and
                           other unsafe bytes as \xHH). A reply that would
                           pass 60000 bytes ends in "more K": ask again from K
  answer on|off         -> whether searches are answered -> ok
  configure on|off      -> whether configuration requests are applied (a
                           camera that ignores them; still logged) -> ok
  anything else         -> err unknown command (err usage: ... for a known
                           command with bad arguments)
)";

}  // namespace camsim
