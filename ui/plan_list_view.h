// The list view of "Assign addresses": its columns, a row per listed camera
// or per planned camera, and each row's status as the job goes on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/report.h"
#include "provisioning/site_preview.h"

namespace lumora {

// The columns, sized in `dialog`'s units.
void AddPlanColumns(HWND dialog, HWND list);

// The cameras as they are, with nothing planned.
void ShowCameraRows(HWND list, const std::vector<provisioning::FoundCamera>& cameras);

// A row per step of `preview`: the camera now beside its plan, and the
// status of `reports` (one per step).
void ShowPlanRows(HWND list, const provisioning::SitePreview& preview,
                  const std::vector<provisioning::FoundCamera>& cameras,
                  const std::vector<provisioning::RowReport>& reports);

// The status cells again, one per row.
void ShowRowStatuses(HWND list, const std::vector<provisioning::RowReport>& reports);

// "Applying: 3 of 20 verified".
std::string ApplyingText(std::size_t verified, std::size_t toVerify);

}  // namespace lumora
