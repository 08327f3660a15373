// A problem with what the user gave: its text is shown as it stands.
export class InputProblem extends Error {}
