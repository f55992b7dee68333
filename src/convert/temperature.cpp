#include "convert/temperature.h"

namespace velmora {

double FromCelsius(TemperatureScale scale, double celsius) {
  switch (scale) {
    case TemperatureScale::Celsius:
      return celsius;
    case TemperatureScale::Kelvin:
      return celsius + 273.15;
    case TemperatureScale::Reaumur:
      return celsius / 1.25;
    case TemperatureScale::Fahrenheit:
      return celsius * 1.8 + 32;
    case TemperatureScale::Rankine:
      return (celsius + 273.15) * 1.8;
  }
  return celsius;
}

double ToCelsius(TemperatureScale scale, double value) {
  switch (scale) {
    case TemperatureScale::Celsius:
      return value;
    case TemperatureScale::Kelvin:
      return value - 273.15;
    case TemperatureScale::Reaumur:
      return value * 1.25;
    case TemperatureScale::Fahrenheit:
      return (value - 32) / 1.8;
    case TemperatureScale::Rankine:
      return value / 1.8 - 273.15;
  }
  return value;
}

}  // namespace velmora
