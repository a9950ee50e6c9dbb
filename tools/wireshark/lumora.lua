-- Wireshark dissector for Lumora Search's camera discovery datagrams.
--
--   wireshark -X lua_script:tools/wireshark/lumora.lua
--   tshark -X lua_script:tools/wireshark/lumora.lua -r capture.pcap -V
-- or copy this file to ~/.local/lib/wireshark/plugins/.
--
-- It takes UDP ports 3566 (the program's own: it sends from it and cameras
-- answer to it) and 4000 (the cameras' default tool port), and any other UDP
-- datagram that starts with the magic.
--
-- Every datagram, request or reply:
--
--    0   1   2   3   4   5     6     7 ...
--   +---+---+---+---+---+-----+-----+---------------+-----+-----+---
--   | K | V | 2 | 8 | 0 | tag | len | len bytes ... | tag | len | ...
--   +---+---+---+---+---+-----+-----+---------------+-----+-----+---
--
-- A tag byte 0 ends the fields: requests are always 256 bytes, zero-padded.
--
--   tag   len  value
--   0x10   6   MAC address (a configuration request: target, then new MAC)
--   0x11   4   IP address, network byte order
--   0x12   4   subnet mask
--   0x13   4   gateway
--   0x14   5   HTTP port: request: decimal text, zero-padded;
--                         reply: first 2 bytes, little-endian (length 5 or 2)
--   0x15   5   audio port, as 0x14
--   0x1F   4   IP assignment flags, 0xFF = not set: bytes 0,1 PPPoE, 2,3 DHCP
--   0x20  16   device name, text
--   0x21  16   version, text
--   0x22  32   PPPoE account, text
--   0x23  32   PPPoE password, text
--
-- Direction: the program always sends from port 3566 and cameras always
-- answer to port 3566, so a datagram to 3566 is a reply and anything else a
-- request. A request whose field values are all zero is the search; any
-- other request is a configuration request.

local MAGIC = "KV280"
local PROGRAM_PORT = 3566
local TOOL_PORT = 4000

local lumora = Proto("lumora", "Lumora Search camera discovery")

local TAG_MAC, TAG_IP, TAG_MASK, TAG_GATEWAY = 0x10, 0x11, 0x12, 0x13
local TAG_HTTP_PORT, TAG_AUDIO_PORT, TAG_IP_ASSIGN = 0x14, 0x15, 0x1F
local TAG_NAME, TAG_VERSION, TAG_PPPOE_ACCOUNT, TAG_PPPOE_PASSWORD = 0x20, 0x21, 0x22, 0x23

local tag_names = {
  [TAG_MAC] = "MAC address", [TAG_IP] = "IP address", [TAG_MASK] = "Subnet mask",
  [TAG_GATEWAY] = "Gateway", [TAG_HTTP_PORT] = "HTTP port", [TAG_AUDIO_PORT] = "Audio port",
  [TAG_IP_ASSIGN] = "IP assignment", [TAG_NAME] = "Device name", [TAG_VERSION] = "Version",
  [TAG_PPPOE_ACCOUNT] = "PPPoE account", [TAG_PPPOE_PASSWORD] = "PPPoE password",
}

-- The length every request writes for a tag.
local tag_widths = {
  [TAG_MAC] = 6, [TAG_IP] = 4, [TAG_MASK] = 4, [TAG_GATEWAY] = 4,
  [TAG_HTTP_PORT] = 5, [TAG_AUDIO_PORT] = 5, [TAG_IP_ASSIGN] = 4,
  [TAG_NAME] = 16, [TAG_VERSION] = 16, [TAG_PPPOE_ACCOUNT] = 32, [TAG_PPPOE_PASSWORD] = 32,
}

local pf = {
  kind = ProtoField.string("lumora.kind", "Message kind"),
  magic = ProtoField.string("lumora.magic", "Magic"),
  field = ProtoField.none("lumora.field", "Field"),
  tag = ProtoField.uint8("lumora.tag", "Tag", base.HEX, tag_names),
  length = ProtoField.uint8("lumora.length", "Length"),
  value = ProtoField.bytes("lumora.value", "Value"),
  mac = ProtoField.ether("lumora.mac", "MAC address"),
  new_mac = ProtoField.ether("lumora.new_mac", "New MAC address"),
  ip = ProtoField.ipv4("lumora.ip", "IP address"),
  mask = ProtoField.ipv4("lumora.mask", "Subnet mask"),
  gateway = ProtoField.ipv4("lumora.gateway", "Gateway"),
  http_port = ProtoField.uint16("lumora.http_port", "HTTP port"),
  audio_port = ProtoField.uint16("lumora.audio_port", "Audio port"),
  ip_assign = ProtoField.string("lumora.ip_assign", "IP assignment"),
  name = ProtoField.string("lumora.name", "Device name"),
  version = ProtoField.string("lumora.version", "Version"),
  pppoe_account = ProtoField.string("lumora.pppoe_account", "PPPoE account"),
  pppoe_password = ProtoField.string("lumora.pppoe_password", "PPPoE password"),
  padding = ProtoField.bytes("lumora.padding", "Padding"),
}
lumora.fields = pf

local ex = {
  truncated = ProtoExpert.new("lumora.truncated", "Field runs past the end of the datagram",
                              expert.group.MALFORMED, expert.severity.ERROR),
  bad_length = ProtoExpert.new("lumora.bad_length", "Length does not fit the tag",
                               expert.group.MALFORMED, expert.severity.WARN),
  no_magic = ProtoExpert.new("lumora.no_magic", "No KV280 magic: not a Lumora Search datagram",
                             expert.group.MALFORMED, expert.severity.WARN),
  bad_port = ProtoExpert.new("lumora.bad_port", "Port text is not a number from 0 to 65535",
                             expert.group.MALFORMED, expert.severity.WARN),
  unknown_tag = ProtoExpert.new("lumora.unknown_tag", "Unknown tag, skipped by its length",
                                expert.group.UNDECODED, expert.severity.NOTE),
}
lumora.experts = { ex.truncated, ex.bad_length, ex.no_magic, ex.bad_port, ex.unknown_tag }

-- The walk over the fields, before anything is shown: the kind of a request
-- depends on all its values.
local function walk(tvb)
  local fields, size, p = {}, tvb:len(), 5
  while p < size do
    local tag = tvb(p, 1):uint()
    if tag == 0 then return fields, p end
    if p + 1 >= size then
      fields[#fields + 1] = { at = p, tag = tag, truncated = true }
      return fields, size
    end
    local length = tvb(p + 1, 1):uint()
    local f = { at = p, tag = tag, length = length, truncated = p + 2 + length > size }
    fields[#fields + 1] = f
    if f.truncated then return fields, size end
    p = p + 2 + length
  end
  return fields, size
end

local function all_values_zero(tvb, fields)
  for _, f in ipairs(fields) do
    if f.truncated then return false end
    for i = 0, f.length - 1 do
      if tvb(f.at + 2 + i, 1):uint() ~= 0 then return false end
    end
  end
  return true
end

-- A text value ends at its first zero byte or, filling its whole field
-- (a five-digit port, a 16-character name), at the field's end: stringz()
-- would read on into the next field.
local function text_length(range)
  local zero = range:raw():find("\0", 1, true)
  return zero and zero - 1 or range:len()
end

-- Cameras write texts in the PC's ANSI code page. add_packet_field converts
-- them to UTF-8 (TvbRange:string(encoding) cuts the result at the byte
-- count of the source in this Wireshark version).
local function add_text(tree, field, range)
  local length = text_length(range)
  if length == 0 then return tree:add(field, range, "") end
  return tree:add_packet_field(field, range(0, length), ENC_WINDOWS_1252)
end

-- The camera's reading of the flags (a reply) or what the program asked for
-- (a request: byte 0 from "PPPOE", byte 2 from "DHCP").
local function ip_assign_text(range, is_reply)
  local b = { range(0, 1):uint(), range(1, 1):uint(), range(2, 1):uint(), range(3, 1):uint() }
  if b[1] == 0 and b[2] == 0 and b[3] == 0 and b[4] == 0 and not is_reply then return "not set" end
  local pppoe, dhcp
  if is_reply then
    pppoe = b[1] ~= 0xFF and b[2] ~= 0xFF
    dhcp = b[3] ~= 0xFF and b[4] ~= 0xFF
  else
    pppoe = b[1] ~= 0xFF
    dhcp = b[3] ~= 0xFF
  end
  if pppoe then return "PPPoE" elseif dhcp then return "DHCP" else return "static" end
end

local function add_port(tree, field, value, is_reply)
  if is_reply then
    tree:add_le(field, value(0, 2))
    return
  end
  local digits = value:raw(0, text_length(value)):gsub("[^\32-\126]", "?")
  local number = tonumber(digits)
  if digits == "" then
    tree:add(field, value, 0):append_text(" (empty)")
  elseif digits:match("^%d+$") and number <= 65535 then
    tree:add(field, value, number)
  else
    tree:add_proto_expert_info(ex.bad_port, "Port text \"" .. digits .. "\" is not a number from 0 to 65535")
  end
end

-- Whether a field's length fits its tag; replies may shorten a port to its
-- two number bytes.
local function length_fits(tag, length, is_reply)
  local width = tag_widths[tag]
  if is_reply and (tag == TAG_HTTP_PORT or tag == TAG_AUDIO_PORT) then return length >= 2 and length <= width end
  return length == width
end

local function add_value(tree, f, value, state)
  local tag = f.tag
  if tag == TAG_MAC then
    -- A configuration request names its target first and may carry the new MAC second.
    if state.macs_seen == 1 and state.kind == "configuration" then
      tree:add(pf.new_mac, value)
    else
      tree:add(pf.mac, value)
    end
    state.macs_seen = state.macs_seen + 1
  elseif tag == TAG_IP then tree:add(pf.ip, value)
  elseif tag == TAG_MASK then tree:add(pf.mask, value)
  elseif tag == TAG_GATEWAY then tree:add(pf.gateway, value)
  elseif tag == TAG_HTTP_PORT then add_port(tree, pf.http_port, value, state.is_reply)
  elseif tag == TAG_AUDIO_PORT then add_port(tree, pf.audio_port, value, state.is_reply)
  elseif tag == TAG_IP_ASSIGN then
    tree:add(pf.ip_assign, value, ip_assign_text(value, state.is_reply)):append_text(" (" .. tostring(value:bytes()) .. ")")
  elseif tag == TAG_NAME then add_text(tree, pf.name, value)
  elseif tag == TAG_VERSION then add_text(tree, pf.version, value)
  elseif tag == TAG_PPPOE_ACCOUNT then add_text(tree, pf.pppoe_account, value)
  elseif tag == TAG_PPPOE_PASSWORD then add_text(tree, pf.pppoe_password, value)
  end
end

local function add_field(tree, tvb, f, state)
  local size = tvb:len()
  local name = tag_names[f.tag] or "Unknown"
  local item = tree:add(pf.field, tvb(f.at, math.min(size - f.at, 2 + (f.length or 0))))
  item:set_text(string.format("%s (tag 0x%02X)", name, f.tag))
  item:add(pf.tag, tvb(f.at, 1))
  if f.length == nil then
    item:add_proto_expert_info(ex.truncated, "The datagram ends after the tag byte: no length")
    return
  end
  item:add(pf.length, tvb(f.at + 1, 1))
  if f.truncated then
    item:add_proto_expert_info(ex.truncated, string.format(
      "Length %d runs past the end of the datagram: %d value bytes received", f.length, size - f.at - 2))
    return
  end
  if f.length == 0 then return end
  local value = tvb(f.at + 2, f.length)
  item:add(pf.value, value)
  if tag_widths[f.tag] == nil then
    item:add_proto_expert_info(ex.unknown_tag)
  elseif not length_fits(f.tag, f.length, state.is_reply) then
    item:add_proto_expert_info(ex.bad_length, string.format(
      "Length %d does not fit tag 0x%02X (%s: %d)", f.length, f.tag, name, tag_widths[f.tag]))
  else
    add_value(item, f, value, state)
  end
end

local function dissect(tvb, pinfo, tree)
  pinfo.cols.protocol = "LUMORA"
  local root = tree:add(lumora, tvb())
  if tvb:len() < 5 or tvb(0, 5):string() ~= MAGIC then
    root:add_proto_expert_info(ex.no_magic)
    pinfo.cols.info = "Not a Lumora Search datagram (no magic)"
    return tvb:len()
  end

  local fields, stop = walk(tvb)
  local state = { is_reply = pinfo.dst_port == PROGRAM_PORT, macs_seen = 0 }
  if state.is_reply then
    state.kind = "reply"
  elseif all_values_zero(tvb, fields) then
    state.kind = "search"
  else
    state.kind = "configuration"
  end

  root:add(pf.kind, state.kind):set_generated()
  root:add(pf.magic, tvb(0, 5))
  for _, f in ipairs(fields) do add_field(root, tvb, f, state) end
  if stop < tvb:len() then root:add(pf.padding, tvb(stop)) end

  local info = ({ search = "Search request", reply = "Reply", configuration = "Configuration request" })[state.kind]
  pinfo.cols.info = string.format("%s, %d fields", info, #fields)
  return tvb:len()
end

function lumora.dissector(tvb, pinfo, tree)
  return dissect(tvb, pinfo, tree)
end

local function heuristic(tvb, pinfo, tree)
  if tvb:len() < 5 or tvb(0, 5):string() ~= MAGIC then return false end
  dissect(tvb, pinfo, tree)
  return true
end

local udp_port = DissectorTable.get("udp.port")
udp_port:add(PROGRAM_PORT, lumora)
udp_port:add(TOOL_PORT, lumora)
lumora:register_heuristic("udp", heuristic)
