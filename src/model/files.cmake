list(APPEND UI_SOURCES model/CalculatorState.h model/CalculatorState.cpp)
