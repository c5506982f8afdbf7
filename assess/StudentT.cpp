#include "assess/StudentT.h"

#include <boost/math/distributions/students_t.hpp>

namespace vk::assess {

double studentT975(int dof) {
  const boost::math::students_t_distribution<double> t(dof);
  return boost::math::quantile(boost::math::complement(t, 0.025));
}

}  // namespace vk::assess
