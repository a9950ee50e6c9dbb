// The --help text.
#include "tools/camsim/options.h"

namespace camsim {

const char kHelpText[] = R"(usage: camsim [options]

Simulates network cameras that answer the Lumora Search program's UDP
broadcasts. Run it only inside a lab network namespace: it broadcasts.

Cameras
  --camera KEYS         add a camera; KEYS is key=value,key=value,... with keys
                          name=TEXT (<=16 bytes)  version=TEXT (<=16 bytes)
                          mac=001A2B3C4D01 (12 hex digits)
                          ip=A.B.C.D  mask=A.B.C.D  gateway=A.B.C.D
                          http=PORT  audio=PORT (0..65535)
                          assign=FFFF01FF (8 hex digits: the 4 ip-assignment bytes)
                          account=TEXT  password=TEXT (PPPoE, <=32 bytes each)
                        any key may be left out; a text may spell a byte as \xHH
  --config FILE         add one camera per line of FILE (same KEYS syntax;
                        blank lines and lines starting with # are skipped)
  --burst N             add N default cameras (1..1000); all of them answer
                        each search back to back
                        At most 1000 cameras in all. Camera number N (1-based,
                        in the order given) defaults to: name Camera-N,
                        version V2.6.0, mac 00 1A 2B 3C 4D NN (NN = N; past 255
                        the carry goes into the 4D byte), ip 10.77.0.(100+N)
                        (carrying into the third byte past 155), mask
                        255.255.255.0, gateway 10.77.0.1, http 80, audio 8000,
                        assign FFFFFFFF (static), empty PPPoE account and
                        password. Without any camera option there is one
                        default camera.

Network
  --port P              tool port to listen on, 0.0.0.0:P (default 4000)
  --reply-port P        replies go to 255.255.255.255:P (default 3566)
  --source-port S       send replies from a socket bound to S (default: from
                        the listening socket). Every socket camsim owns for
                        cameras (listening, source, and those opened by the
                        control channel's send commands) receives, logs and
                        handles datagrams alike, because the program sends
                        configuration requests to the source port of the last
                        reply.
  --delay-ms D          wait D ms (0..60000) before each reply: camera k of a
                        search answers (k+1)*D ms after it arrived; the event
                        loop goes on serving the control channel meanwhile
  --drop-searches PCT   ignore PCT percent (0..100) of the searches received,
                        as if they were lost on the way (logged all the same);
                        which ones follows from --seed
  --seed N              seed of that choice (default 1): a run repeats exactly
  --allow-host-network  run even in the machine's own network namespace
                        (refused by default, exit 2)

Sends at start (after the start line, in the order given; from the reply
socket to 255.255.255.255:<reply-port>)
  --send-hex HEX        these bytes (pairs of hex digits, blanks allowed)
  --send-crafted KIND   a malformed datagram built from the first camera:
                          no-magic      its reply with the magic "KV281"
                          unknown-tags  its reply with fields 0x16 (2 bytes)
                                        and 0x30 (7 bytes) among the known ones
                          tag0          MAC and name, an end tag (00 00), then
                                        the rest of its reply
                          oversize      3001 bytes: its reply, then zeros
                          empty         0 bytes
  --send-size N         N bytes (0..65000): the magic first when N >= 5, the
                        rest zeros
  --flood-seconds T     send the replies of all cameras back to back, over and
                        over, for T seconds (1..60) or 1,000,000 datagrams,
                        whichever comes first
  --flood-distinct N    floods (from --flood-seconds or the control channel)
                        send the replies of N made-up cameras (1..16777216)
                        instead, in turn: the first camera's reply with MAC
                        02 4C 00 and the camera's 24-bit number k, and IP
                        10.k (k's three bytes), so N distinct (MAC, IP) pairs
  --once                exit once the sends and the flood above are done

Running
  --log FILE            append one line per datagram received on a camera
                        socket: <local-port> <sender-ip>:<sender-port>
                        <length> <hex, lower case>; flushed line by line
  --max-seconds T       exit by itself after T seconds (default: run until
                        SIGINT or SIGTERM; exit 0 on those)
  --control P           UDP control channel on 0.0.0.0:P (see below)
  --help                this text

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
