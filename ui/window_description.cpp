#include "ui/window_description.h"

#include <algorithm>

namespace tosilk {

std::vector<int> FocusOrder(const WindowDescription& window) {
  std::vector<int> order;
  for (int i = 0; i < static_cast<int>(window.controls.size()); ++i) {
    if (window.controls[i].tab_stop) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int order_a = window.controls[a].tab_order;
    const int order_b = window.controls[b].tab_order;
    if (order_a != order_b) return order_a < order_b;
    return a > b;
  });
  return order;
}

int CentredEdge(int screen, int window) { return (screen - window) / 2; }

}  // namespace tosilk
