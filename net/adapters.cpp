// The choice of adapters: plain data in, plain data out.
#include "net/adapters.h"

#include <algorithm>
#include <cstring>

#include "protocol/ipv4.h"

namespace lumora {
namespace {

bool CanBroadcast(const Adapter& adapter) {
  return adapter.up && adapter.kind == AdapterKind::kBroadcast && adapter.index != 0 && !adapter.subnets.empty();
}

bool HasSubnetBroadcast(const AdapterSubnet& subnet) {
  uint8_t mask[4];
  std::memcpy(mask, &subnet.mask, 4);  // network order: the last byte is the host end
  return !(mask[0] == 0xFF && mask[1] == 0xFF && mask[2] == 0xFF && mask[3] >= 0xFE);
}

}  // namespace

std::vector<Adapter> ChooseAdapters(std::vector<Adapter> listed) {
  listed.erase(std::remove_if(listed.begin(), listed.end(), [](const Adapter& a) { return !CanBroadcast(a); }),
               listed.end());
  return listed;
}

AdapterRoute RouteOf(const Adapter& adapter) {
  return {adapter.index, adapter.subnets.empty() ? 0 : adapter.subnets.front().ip};
}

std::vector<PlannedSend> PlanSends(const std::vector<Adapter>& adapters, uint32_t destination, SubnetCopies copies) {
  std::vector<PlannedSend> plan;
  for (const Adapter& adapter : adapters) {
    plan.push_back({RouteOf(adapter), destination});
    if (copies == SubnetCopies::kNone) continue;
    for (const AdapterSubnet& subnet : adapter.subnets) {
      if (HasSubnetBroadcast(subnet)) plan.push_back({{adapter.index, subnet.ip}, subnet.broadcast});
    }
  }
  return plan;
}

AdapterRoute RouteOf(const std::vector<Adapter>& adapters, uint32_t index) {
  for (const Adapter& adapter : adapters) {
    if (adapter.index == index) return RouteOf(adapter);
  }
  return {index, 0};
}

const AdapterSubnet* SubnetFor(const Adapter& adapter, uint32_t ip) {
  for (const AdapterSubnet& s : adapter.subnets) {
    if (InSubnet(ip, s.ip, s.mask)) return &s;
  }
  return adapter.subnets.empty() ? nullptr : &adapter.subnets.front();
}

void DescribeArrival(const std::vector<Adapter>& searched, uint32_t index, uint32_t sender, uint16_t senderPort,
                     Arrival& out) {
  out.index = index;
  out.sourceIp = sender;
  out.sourcePort = senderPort;
  out.name.clear();
  out.ip = 0;
  out.mask = 0;
  if (index == 0) return;
  for (const Adapter& adapter : searched) {
    if (adapter.index != index) continue;
    if (const AdapterSubnet* subnet = SubnetFor(adapter, sender)) {
      out.name = adapter.name;
      out.ip = subnet->ip;
      out.mask = subnet->mask;
    }
    return;
  }
}

}  // namespace lumora
