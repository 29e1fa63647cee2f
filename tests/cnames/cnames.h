/* SPDX-License-Identifier: MIT */
/* A device header for tests/CNamesSvd.h, written by hand the way a CMSIS
 * device header generated from that SVD file names its registers and fields.
 * The C compile test assigns tavlin's statements to these registers and
 * checks each value. Offsets within the structs are not modelled: each
 * peripheral is an object of the program, not memory at its base address. */
#ifndef CNAMES_H
#define CNAMES_H

#include <stdint.h>

#define __IM volatile const /* read-only */
#define __IOM volatile      /* read-write */

/* POWER: headerStructName PWR */
typedef struct {
    __IOM uint32_t INTENSET;
} PWR_Type;
#define PWR_INTENSET_POFWARN_Pos 2UL
#define PWR_INTENSET_POFWARN_Msk (0x1UL << PWR_INTENSET_POFWARN_Pos)

/* USART1, USART2 derived from it alone; USART3 with a headerStructName of its
 * own and USART4 with an addressBlock of its own have their own macros. */
typedef struct {
    __IOM uint32_t CR1;
    __IM uint32_t SR;
} USART1_Type;
typedef USART1_Type U3_Type;
typedef USART1_Type USART4_Type;
#define USART1_CR1_UE_Pos 0UL
#define USART1_CR1_UE_Msk (0x1UL << USART1_CR1_UE_Pos)
#define USART1_CR1_PARITY_Pos 2UL
#define USART1_CR1_PARITY_Msk (0x3UL << USART1_CR1_PARITY_Pos)
#define USART1_SR_UE_Pos 0UL
#define USART1_SR_UE_Msk (0x1UL << USART1_SR_UE_Pos)
#define U3_CR1_UE_Pos 0UL
#define U3_CR1_UE_Msk (0x1UL << U3_CR1_UE_Pos)
#define U3_CR1_PARITY_Pos 2UL
#define U3_CR1_PARITY_Msk (0x3UL << U3_CR1_PARITY_Pos)
#define USART4_CR1_UE_Pos 0UL
#define USART4_CR1_UE_Msk (0x1UL << USART4_CR1_UE_Pos)
#define USART4_CR1_PARITY_Pos 2UL
#define USART4_CR1_PARITY_Msk (0x3UL << USART4_CR1_PARITY_Pos)

/* DMA0, DMA1 derived from it: a cluster array CH[4] holding an array DATA[2]. */
typedef struct {
    __IOM uint32_t CTRL;
    __IOM uint32_t DATA[2];
} DMA0_CH_Type;
typedef struct {
    DMA0_CH_Type CH[4];
} DMA0_Type;
#define DMA0_CH_CTRL_EN_Pos 0UL
#define DMA0_CH_CTRL_EN_Msk (0x1UL << DMA0_CH_CTRL_EN_Pos)
#define DMA0_CH_CTRL_PRIO_Pos 2UL
#define DMA0_CH_CTRL_PRIO_Msk (0x3UL << DMA0_CH_CTRL_PRIO_Pos)
#define DMA0_CH_DATA_VAL_Pos 0UL
#define DMA0_CH_DATA_VAL_Msk (0xFFFFUL << DMA0_CH_DATA_VAL_Pos)

/* FICR: clusters INFO (its headerStructName FICR_INFO dropped), CFG (its
 * headerStructName SETUP kept), the list STR0, STR1 and BLK[2] of dimName EVT. */
typedef struct {
    __IOM uint32_t PART;
} FICR_INFO_Type;
typedef struct {
    __IOM uint32_t MODE;
} FICR_SETUP_Type;
typedef struct {
    __IOM uint32_t VAL;
} FICR_STR_Type;
typedef struct {
    __IOM uint32_t FLAG;
} FICR_EVTBLK_Type;
typedef struct {
    FICR_INFO_Type INFO;
    FICR_SETUP_Type CFG;
    FICR_STR_Type STR0;
    FICR_STR_Type STR1;
    FICR_EVTBLK_Type BLK[2];
} FICR_Type;
#define FICR_INFO_PART_PART_Pos 0UL
#define FICR_INFO_PART_PART_Msk (0xFFFFFFFFUL << FICR_INFO_PART_PART_Pos)
#define FICR_SETUP_MODE_M_Pos 0UL
#define FICR_SETUP_MODE_M_Msk (0x3UL << FICR_SETUP_MODE_M_Pos)
#define FICR_STR_VAL_V_Pos 0UL
#define FICR_STR_VAL_V_Msk (0xFFUL << FICR_STR_VAL_V_Pos)
#define FICR_EVTBLK_FLAG_SET_Pos 0UL
#define FICR_EVTBLK_FLAG_SET_Msk (0x1UL << FICR_EVTBLK_FLAG_SET_Pos)

/* UARTE0: headerStructName UARTE; its cluster RXD's headerStructName
 * UARTE_RXD is not UARTE0_RXD, so it is kept, after UARTE. */
typedef struct {
    __IOM uint32_t PTR;
} UARTE_UARTE_RXD_Type;
typedef struct {
    UARTE_UARTE_RXD_Type RXD;
} UARTE_Type;
#define UARTE_UARTE_RXD_PTR_PTR_Pos 0UL
#define UARTE_UARTE_RXD_PTR_PTR_Msk (0xFFFFFFFFUL << UARTE_UARTE_RXD_PTR_PTR_Pos)

/* TIMER: the list CCA, CCB, MODE and its alternate group PWM, a 64-bit
 * register and one without fields. */
typedef struct {
    __IOM uint32_t CCA;
    __IOM uint32_t CCB;
    union {
        __IOM uint32_t MODE;
        __IOM uint32_t MODE_PWM;
    };
    __IOM uint64_t WIDE;
    __IOM uint32_t PLAIN;
} TIMER_Type;
#define TIMER_CCA_VAL_Pos 0UL
#define TIMER_CCA_VAL_Msk (0xFFFFUL << TIMER_CCA_VAL_Pos)
#define TIMER_CCB_VAL_Pos 0UL
#define TIMER_CCB_VAL_Msk (0xFFFFUL << TIMER_CCB_VAL_Pos)
#define TIMER_MODE_CNT_Pos 0UL
#define TIMER_MODE_CNT_Msk (0x3UL << TIMER_MODE_CNT_Pos)
#define TIMER_MODE_PWM_DUTY_Pos 0UL
#define TIMER_MODE_PWM_DUTY_Msk (0xFUL << TIMER_MODE_PWM_DUTY_Pos)
#define TIMER_WIDE_HI_Pos 32UL
#define TIMER_WIDE_HI_Msk (0xFFFFULL << TIMER_WIDE_HI_Pos)
#define TIMER_WIDE_LO_Pos 0UL
#define TIMER_WIDE_LO_Msk (0x1ULL << TIMER_WIDE_LO_Pos)

/* GPIO: the field list PIN0..PIN3 and SPEED.FAST, its '.' made '_'. */
typedef struct {
    __IOM uint32_t OUT;
} GPIO_Type;
#define GPIO_OUT_PIN0_Pos 0UL
#define GPIO_OUT_PIN0_Msk (0x1UL << GPIO_OUT_PIN0_Pos)
#define GPIO_OUT_PIN1_Pos 1UL
#define GPIO_OUT_PIN1_Msk (0x1UL << GPIO_OUT_PIN1_Pos)
#define GPIO_OUT_PIN2_Pos 2UL
#define GPIO_OUT_PIN2_Msk (0x1UL << GPIO_OUT_PIN2_Pos)
#define GPIO_OUT_PIN3_Pos 3UL
#define GPIO_OUT_PIN3_Msk (0x1UL << GPIO_OUT_PIN3_Pos)
#define GPIO_OUT_SPEED_FAST_Pos 8UL
#define GPIO_OUT_SPEED_FAST_Msk (0x3UL << GPIO_OUT_SPEED_FAST_Pos)

/* RADIO: prependToName R_ and appendToName _X change the member name only. */
typedef struct {
    __IOM uint32_t R_TXD_X[2];
} RADIO_Type;
#define RADIO_TXD_BYTE_Pos 0UL
#define RADIO_TXD_BYTE_Msk (0xFFUL << RADIO_TXD_BYTE_Pos)

/* The instances. */
extern PWR_Type POWER_object;
extern USART1_Type USART1_object, USART2_object;
extern U3_Type USART3_object;
extern USART4_Type USART4_object;
extern DMA0_Type DMA0_object, DMA1_object;
extern FICR_Type FICR_object;
extern UARTE_Type UARTE0_object;
extern TIMER_Type TIMER_object;
extern GPIO_Type GPIO_object;
extern RADIO_Type RADIO_object;
#define POWER (&POWER_object)
#define USART1 (&USART1_object)
#define USART2 (&USART2_object)
#define USART3 (&USART3_object)
#define USART4 (&USART4_object)
#define DMA0 (&DMA0_object)
#define DMA1 (&DMA1_object)
#define FICR (&FICR_object)
#define UARTE0 (&UARTE0_object)
#define TIMER (&TIMER_object)
#define GPIO (&GPIO_object)
#define RADIO (&RADIO_object)

#endif
