# Sourced: the private network lab. Two network namespaces, one for the PC
# side and one for the cameras, joined by a veth pair; lo up and a default
# route through the veth on each side, so that 255.255.255.255 has a route
# and a broadcast from one side arrives on the other, and nowhere else.
#
# Names are unique to each run so labs may exist side by side; lab_down
# removes everything lab_up made. Callers install `trap lab_down EXIT`.

LAB_PC_ADDR=10.77.0.1
LAB_CAM_ADDR=10.77.0.2
# The second camera side of a --two-sides lab, on a subnet of its own. A
# caller may put the camera end elsewhere (LAB_CAM2_ADDR=192.168.1.2): a
# factory-default camera outside the PC's subnet, which takes a limited
# broadcast but drops the PC's subnet-directed one.
LAB_PC2_ADDR=10.78.0.1
LAB_CAM2_ADDR=${LAB_CAM2_ADDR:-10.78.0.2}

# Prints why the lab cannot be built here, or nothing.
lab_missing() {
  if [ "$(id -u)" != 0 ]; then echo "the lab needs root (network namespaces)"; return; fi
  if ! command -v ip >/dev/null 2>&1; then echo "the lab needs ip (iproute2)"; return; fi
}

# lab_up [--no-route | --two-sides]: sets LAB_PC, LAB_CAM. With --no-route
# only the PC namespace is made, with lo alone: every broadcast fails there.
# With --two-sides a second camera namespace LAB_CAM2 hangs off the PC by a
# second veth pair on 10.78.0.0/24, while the PC's default route stays on the
# first: the layout of a laptop with two adapters, where 255.255.255.255
# leaves by one of them only. LAB_VETH_PC and LAB_VETH_PC2 name the PC's two
# interfaces.
lab_up() {
  local id="${LAB_ID:-$$$RANDOM}"
  LAB_PC="lumora-pc-$id"
  LAB_CAM="lumora-cam-$id"
  LAB_VETH_PC="lvp$id"
  LAB_VETH_CAM="lvc$id"
  LAB_VETH_PC=${LAB_VETH_PC:0:15}
  LAB_VETH_CAM=${LAB_VETH_CAM:0:15}
  ip netns add "$LAB_PC" || return 1
  ip -n "$LAB_PC" link set lo up
  if [ "${1:-}" = --no-route ]; then
    LAB_CAM=""
    return 0
  fi
  lab_add_side "$LAB_CAM" "$LAB_VETH_PC" "$LAB_VETH_CAM" "$LAB_PC_ADDR" "$LAB_CAM_ADDR" || return 1
  ip -n "$LAB_PC" route add default dev "$LAB_VETH_PC"
  [ "${1:-}" = --two-sides ] || return 0
  LAB_CAM2="lumora-cam2-$id"
  LAB_VETH_PC2="lvq$id"
  LAB_VETH_CAM2="lvd$id"
  LAB_VETH_PC2=${LAB_VETH_PC2:0:15}
  LAB_VETH_CAM2=${LAB_VETH_CAM2:0:15}
  lab_add_side "$LAB_CAM2" "$LAB_VETH_PC2" "$LAB_VETH_CAM2" "$LAB_PC2_ADDR" "$LAB_CAM2_ADDR"
}

# lab_add_side NS VETH_PC VETH_CAM PC_ADDR CAM_ADDR: a camera namespace hung
# off the PC by a veth pair, lo up and its default route through the veth.
# The PC's default route is the caller's to set.
lab_add_side() {
  local ns=$1 veth_pc=$2 veth_cam=$3 pc_addr=$4 cam_addr=$5
  ip netns add "$ns" || return 1
  ip link add "$veth_pc" type veth peer name "$veth_cam" || return 1
  ip link set "$veth_pc" netns "$LAB_PC"
  ip link set "$veth_cam" netns "$ns"
  ip -n "$LAB_PC" addr add "$pc_addr/24" brd + dev "$veth_pc"
  ip -n "$ns" addr add "$cam_addr/24" brd + dev "$veth_cam"
  ip -n "$LAB_PC" link set "$veth_pc" up
  ip -n "$ns" link set "$veth_cam" up
  ip -n "$ns" link set lo up
  ip -n "$ns" route add default dev "$veth_cam"
}

# Deleting a namespace deletes the veth end inside it, and so the pair.
lab_down() {
  [ -n "${LAB_PC:-}" ] && ip netns del "$LAB_PC" 2>/dev/null
  [ -n "${LAB_CAM:-}" ] && ip netns del "$LAB_CAM" 2>/dev/null
  [ -n "${LAB_CAM2:-}" ] && ip netns del "$LAB_CAM2" 2>/dev/null
  LAB_PC="" LAB_CAM="" LAB_CAM2=""
  return 0
}

# Waits (at most $2 tenths of a second) until file $1 holds a line matching $3.
lab_wait_for_line() {
  local file=$1 tries=$2 pattern=$3
  while [ "$tries" -gt 0 ]; do
    grep -q -- "$pattern" "$file" 2>/dev/null && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}
