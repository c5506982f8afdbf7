#pragma once

namespace vk::assess {

// The two-sided 95 % quantile of Student's t, t(0.975, dof), for dof >= 1.
double studentT975(int dof);

}  // namespace vk::assess
